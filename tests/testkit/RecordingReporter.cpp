#include "tests/testkit/RecordingReporter.h"

namespace zelvane {

MessageAnswer RecordingReporter::ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons)
{
    messages_.push_back({std::string(text), icon, buttons});
    if (answers_.empty())
        return FirstButton(buttons);
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void RecordingReporter::Clear()
{
    messages_.clear();
    answers_.clear();
}

} // namespace zelvane
