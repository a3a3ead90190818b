#include "scene/OpenGLInfo.h"

#include "scene/GLErrors.h"

#include <GL/gl.h>

namespace zelvane {

namespace {

std::string GLString(GLenum name)
{
    const GLubyte* text = IsGLContextCurrent() ? glGetString(name) : nullptr;
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string("(unknown)");
}

} // namespace

OpenGLInfo ReadOpenGLInfo(IGLContext& context)
{
    context.BeginGL();
    OpenGLInfo info{GLString(GL_VERSION), GLString(GL_VENDOR), GLString(GL_RENDERER)};
    context.EndGL();
    return info;
}

} // namespace zelvane
