#pragma once
// A reporter for tests and scripted runs: it keeps every message it is shown and
// answers from a queue of scripted answers, then with each box's first button.

#include "report/Reporter.h"

#include <deque>
#include <string>
#include <vector>

namespace zelvane {

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

class RecordingReporter final : public IReporter {
public:
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons) override;

    // The next message is answered with `answer`, whatever its buttons.
    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }

    void BeginBusy() override { ++busyDepth_; ++busyScopes_; }
    void EndBusy() override { --busyDepth_; }

    const std::vector<RecordedMessage>& Messages() const { return messages_; }
    // Open busy scopes now, and all that were ever opened.
    int BusyDepth() const { return busyDepth_; }
    int BusyScopes() const { return busyScopes_; }
    void Clear();

private:
    std::vector<RecordedMessage> messages_;
    std::deque<MessageAnswer> answers_;
    int busyDepth_ = 0;
    int busyScopes_ = 0;
};

} // namespace zelvane
