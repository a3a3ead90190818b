#include "scene/COGLViewport.h"

namespace zelvane {

COGLViewport::COGLViewport()
{
    SetDisplayMode(kDisplayWireframe);
}

void COGLViewport::SetRectangle(int x, int y, int width, int height)
{
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
}

void COGLViewport::SetDisplayMode(DrawFlags mode)
{
    displayMode_ = mode;
    const bool shaded = !(mode & kDrawWireframe);
    lighting_ = shaded;
    polygonMode_ = shaded ? GL_FILL : GL_LINE;
    shadeModel_ = shaded ? GL_SMOOTH : GL_FLAT;
    depthFunction_ = GL_LEQUAL;
    cullFace_ = shaded ? GL_BACK : 0;
}

} // namespace zelvane
