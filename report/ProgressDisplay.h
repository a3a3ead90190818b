#pragma once
// The progress display of long work, a bar in the editor's status bar: code
// below the GUI begins it with a range and a text, steps it by one and ends
// it. Calls nest; the display shows only the outermost one (it counts). The
// editor installs its status bar here, tests a recorder; without either
// nothing is shown.

#include <string_view>

namespace zelvane {

class IProgressDisplay {
public:
    virtual ~IProgressDisplay();
    // Shows `text` and a bar over 0..`range` at 0, unless one is showing.
    virtual void BeginProgress(int range, std::string_view text) = 0;
    // Moves the bar on by one step (it stops at its range).
    virtual void StepProgress() = 0;
    // Closes the matching BeginProgress; the outermost one removes the bar.
    virtual void EndProgress() = 0;
};

// Installs `display` for the whole process; nullptr shows nothing again. The
// caller keeps ownership and must outlive its installation.
void SetProgressDisplay(IProgressDisplay* display);
IProgressDisplay& CurrentProgressDisplay();

// A progress display for one scope, ended on every path out of it.
class ProgressScope {
public:
    ProgressScope(int range, std::string_view text);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void Step();

private:
    IProgressDisplay& display_;
};

} // namespace zelvane
