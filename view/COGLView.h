#pragma once
// The editor's single view: a window with its own OpenGL context, which the
// scene is drawn into and which everything that makes display lists or textures
// borrows through BeginGL/EndGL.

#include "scene/NestedGLContext.h"

#include <QOpenGLWidget>

namespace zelvane {

class COGLView : public QOpenGLWidget, public NestedGLContext {
    Q_OBJECT

public:
    explicit COGLView(QWidget* parent = nullptr);

    // The format every view asks for: desktop OpenGL 2.1 with the compatibility
    // profile, RGBA 8-8-8, depth 24, double buffered. Asking for 3.x would give a
    // core profile, where the fixed-function calls the scene makes all fail.
    static QSurfaceFormat SurfaceFormat();

protected:
    void paintGL() override;

    // BeginGL/EndGL (nestable, NestedGLContext) come here. Only valid once the
    // window has been shown (Qt creates the context then); a context that
    // cannot be made current ends the program through `ReportWindowsError`.
    void MakeCurrent() override;
    void ReleaseCurrent() override;
};

} // namespace zelvane
