#pragma once
// The progress display in the status bar's first pane: a text on the left
// half and a progress bar on the right half, shown from the outermost
// BeginProgress to its EndProgress with the wait cursor. Nested Begin/End
// pairs (work that shows progress called from work that does) only count:
// the outer display stays as it is. The main frame installs it as the
// process's progress display, so work below the GUI (reading a scene file)
// shows its progress here.

#include "report/ProgressDisplay.h"

class QLabel;
class QProgressBar;
class QStatusBar;
class QWidget;

namespace zelvane {

class StatusBarProgress final : public IProgressDisplay {
public:
    explicit StatusBarProgress(QStatusBar& statusBar);
    ~StatusBarProgress() override;
    StatusBarProgress(const StatusBarProgress&) = delete;
    StatusBarProgress& operator=(const StatusBarProgress&) = delete;

    // Range 0..`range`, step 1. Inside an open display only counts.
    void BeginProgress(int range, std::string_view text) override;
    // One step forward (nothing without a display).
    void StepProgress() override;
    // Closes one Begin; the last one removes the display and the wait cursor.
    void EndProgress() override;

    int Nesting() const { return nesting_; }
    // The bar while it is shown, else null.
    QProgressBar* Bar() const { return bar_; }
    QLabel* Text() const { return text_; }

private:
    void Remove();

    QStatusBar& statusBar_;
    int nesting_ = 0;
    QWidget* display_ = nullptr;
    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

} // namespace zelvane
