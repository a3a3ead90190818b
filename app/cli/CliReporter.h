#pragma once
// What the editor's code shows in message boxes, on the command line: while
// a CliReporter lives it is the process's reporter and keeps every message,
// answering each box with its first button. The command then says it in its
// own one line, "zelvane-cli: FILE: message", and exits non-zero; the editor's
// boxes and texts stay as they are. A fatal error (the stop icon) ends the
// process right after it is shown, so that one is printed at once.

#include "report/Reporter.h"

#include <string>
#include <vector>

namespace zelvane::cli {

class CliReporter final : public IReporter {
public:
    // Installs itself; the previous reporter is back when it ends.
    CliReporter();
    ~CliReporter() override;
    CliReporter(const CliReporter&) = delete;
    CliReporter& operator=(const CliReporter&) = delete;

    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons) override;

    // The messages shown so far, in order and "; " apart (each once), and
    // forgets them; empty when there were none.
    std::string TakeMessages();

private:
    IReporter& previous_;
    std::vector<std::string> messages_;
};

} // namespace zelvane::cli
