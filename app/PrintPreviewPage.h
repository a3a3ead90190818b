#pragma once
// The print preview that takes the view's place in the main window: the
// view's last capture on the printer's pages, with its own bar (Print, Next
// and Previous Page, Zoom In and Out, Close) and keys (Page Down, Page Up,
// Escape). It owns the printer it previews on.

#include <QWidget>

#include <memory>

class QPrinter;
class QPrintPreviewWidget;

namespace zelvane {

class COGLView;

class PrintPreviewPage : public QWidget {
    Q_OBJECT

public:
    // `view` has captured what is printed (COGLView::CaptureWindow).
    PrintPreviewPage(COGLView& view, QWidget* parent);
    ~PrintPreviewPage() override;

    QPrintPreviewWidget& Pages() const { return *pages_; }

signals:
    // The bar's Print (the preview is to close first) and Close.
    void PrintRequested();
    void CloseRequested();

private:
    std::unique_ptr<QPrinter> printer_;
    QPrintPreviewWidget* pages_;
};

} // namespace zelvane
