#pragma once
// The editor's single top-level window; the OpenGL view fills its client area.

#include <QMainWindow>

namespace zelvane {

class COGLView;
class COGLDoc;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);

    COGLView* View() const { return view_; }
    // Says in the status bar how many objects the catalog holds, and from where.
    void ShowCatalogSummary(const COGLDoc& document);

private:
    COGLView* view_;
};

} // namespace zelvane
