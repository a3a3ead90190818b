#pragma once
// The editor's single view: a window with its own OpenGL context, which the
// scene is drawn into and which everything that makes display lists or textures
// borrows through BeginGL/EndGL.

#include "scene/GLContext.h"

#include <QOpenGLWidget>

namespace zelvane {

class COGLView : public QOpenGLWidget, public IGLContext {
    Q_OBJECT

public:
    explicit COGLView(QWidget* parent = nullptr);

    // The format every view asks for: desktop OpenGL 2.1 with the compatibility
    // profile, RGBA 8-8-8, depth 24, double buffered. Asking for 3.x would give a
    // core profile, where the fixed-function calls the scene makes all fail.
    static QSurfaceFormat SurfaceFormat();

    // Nestable make-current and release of the view's context. Only valid once
    // the window has been shown (Qt creates the context then); a context that
    // cannot be made current ends the program through `ReportWindowsError`.
    void BeginGL() override;
    void EndGL() override;

protected:
    void paintGL() override;

private:
    int nesting_ = 0;
};

} // namespace zelvane
