#pragma once
// The one way code below the GUI shows a message to the user. The editor installs
// a reporter built on message boxes, tests install a recorder, and without either
// messages go to stderr so the command-line tool and early start-up still say
// what went wrong.

#include <string_view>

namespace zelvane {

enum class MessageIcon { Information, Warning, Error, Stop, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class IReporter {
public:
    virtual ~IReporter();
    // Shows `text` and waits for the user's answer, which is one of `buttons`.
    virtual MessageAnswer ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons) = 0;
    // Long work begins and ends (nestable): the editor shows a wait cursor.
    virtual void BeginBusy() {}
    virtual void EndBusy() {}
};

// Marks long work for its whole scope, on every path out of it.
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

// The answer a box gives when nobody chooses: its first button (Ok or Yes).
MessageAnswer FirstButton(MessageButtons buttons);

// Installs `reporter` for the whole process; nullptr restores the stderr reporter.
// The caller keeps ownership and must outlive its installation.
void SetReporter(IReporter* reporter);
IReporter& CurrentReporter();

} // namespace zelvane
