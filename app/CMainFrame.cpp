#include "CMainFrame.h"

#include "COGLView.h"

namespace zelvane {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), view_(new COGLView(this))
{
    setWindowTitle(kMainFrameTitle);
    setCentralWidget(view_);
    resize(800, 600);
}

} // namespace zelvane
