#include "report/ProgressDisplay.h"

namespace zelvane {

namespace {

class NoProgressDisplay final : public IProgressDisplay {
public:
    void BeginProgress(int, std::string_view) override {}
    void StepProgress() override {}
    void EndProgress() override {}
};

IProgressDisplay* gDisplay = nullptr;

} // namespace

IProgressDisplay::~IProgressDisplay() = default;

void SetProgressDisplay(IProgressDisplay* display)
{
    gDisplay = display;
}

IProgressDisplay& CurrentProgressDisplay()
{
    static NoProgressDisplay none;
    return gDisplay ? *gDisplay : none;
}

// The display is taken once, so a scope ends on the display it began on.
ProgressScope::ProgressScope(int range, std::string_view text) : display_(CurrentProgressDisplay())
{
    display_.BeginProgress(range, text);
}

ProgressScope::~ProgressScope()
{
    display_.EndProgress();
}

void ProgressScope::Step()
{
    display_.StepProgress();
}

} // namespace zelvane
