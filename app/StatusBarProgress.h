#pragma once
// The progress display in the status bar's first pane: a text on the left
// half and a progress bar on the right half, shown from the outermost
// BeginProgress to its EndProgress with the wait cursor. Nested Begin/End
// pairs (work that shows progress called from work that does) only count:
// the outer display stays as it is.

#include <QString>

class QLabel;
class QProgressBar;
class QStatusBar;
class QWidget;

namespace zelvane {

class StatusBarProgress {
public:
    explicit StatusBarProgress(QStatusBar& statusBar);
    ~StatusBarProgress();
    StatusBarProgress(const StatusBarProgress&) = delete;
    StatusBarProgress& operator=(const StatusBarProgress&) = delete;

    // Range 0..`range`, step 1. Inside an open display only counts.
    void BeginProgress(int range, const QString& text);
    // One step forward (nothing without a display).
    void StepProgress();
    // Closes one Begin; the last one removes the display and the wait cursor.
    void EndProgress();

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
