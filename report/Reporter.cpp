#include "report/Reporter.h"

#include <cstdio>

namespace zelvane {

namespace {

class StderrReporter final : public IReporter {
public:
    MessageAnswer ShowMessage(std::string_view text, MessageIcon, MessageButtons buttons) override
    {
        std::fprintf(stderr, "zelvane: %.*s\n", static_cast<int>(text.size()), text.data());
        std::fflush(stderr);
        return FirstButton(buttons);
    }
};

StderrReporter gStderrReporter;
IReporter* gReporter = nullptr;

} // namespace

IReporter::~IReporter() = default;

MessageAnswer FirstButton(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Yes;
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        break;
    }
    return MessageAnswer::Ok;
}

void SetReporter(IReporter* reporter)
{
    gReporter = reporter;
}

IReporter& CurrentReporter()
{
    return gReporter ? *gReporter : gStderrReporter;
}

} // namespace zelvane

namespace zelvane {

BusyScope::BusyScope()
{
    CurrentReporter().BeginBusy();
}

BusyScope::~BusyScope()
{
    CurrentReporter().EndBusy();
}

} // namespace zelvane
