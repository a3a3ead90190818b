#include "app/cli/CliReporter.h"

#include "app/cli/CliOutput.h"

#include <algorithm>
#include <iostream>

namespace zelvane::cli {

CliReporter::CliReporter() : previous_(CurrentReporter())
{
    SetReporter(this);
}

CliReporter::~CliReporter()
{
    SetReporter(&previous_);
}

MessageAnswer CliReporter::ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons)
{
    if (std::find(messages_.begin(), messages_.end(), text) == messages_.end())
        messages_.emplace_back(text);
    if (icon == MessageIcon::Stop)
        std::cerr << "zelvane-cli: " << Printable(TakeMessages()) << std::endl;
    return FirstButton(buttons);
}

std::string CliReporter::TakeMessages()
{
    std::string joined;
    for (const std::string& message : messages_)
        joined += (joined.empty() ? "" : "; ") + message;
    messages_.clear();
    return joined;
}

} // namespace zelvane::cli
