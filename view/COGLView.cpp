#include "view/COGLView.h"

#include "report/ErrorLog.h"
#include "scene/GLErrors.h"
#include "scene/SceneColours.h"

#include <QOpenGLContext>

namespace zelvane {

COGLView::COGLView(QWidget* parent) : QOpenGLWidget(parent)
{
    setFormat(SurfaceFormat());
}

QSurfaceFormat COGLView::SurfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return format;
}

void COGLView::MakeCurrent()
{
    makeCurrent();
    if (!context() || QOpenGLContext::currentContext() != context())
        ReportWindowsError("makeCurrent");
}

void COGLView::ReleaseCurrent()
{
    doneCurrent();
}

void COGLView::paintGL()
{
    // Qt has made the context current for the paint; counting the paint as an open
    // bracket keeps a BeginGL/EndGL pair inside it from releasing the context.
    const CurrentByOthers paint(*this);
    glClearColor(kSceneBackground.red, kSceneBackground.green, kSceneBackground.blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    CheckGLError("After OnDraw");
}

} // namespace zelvane
