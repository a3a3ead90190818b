#include "scene/GLErrors.h"

#include "report/ErrorLog.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <string>

namespace zelvane {

namespace {

constexpr int kMostErrorsLogged = 11;

std::string ErrorText(GLenum error)
{
    if (const GLubyte* text = gluErrorString(error))
        return reinterpret_cast<const char*>(text);
    char unknown[32];
    std::snprintf(unknown, sizeof unknown, "error 0x%04X", error);
    return unknown;
}

} // namespace

// The GL library is the vendor-neutral dispatcher: with no context current every
// call goes to a stub that returns 0, whichever window system (GLX under Qt, EGL
// off screen) made the context. So a missing version string means no context.
bool IsGLContextCurrent()
{
    return glGetString(GL_VERSION) != nullptr;
}

bool CheckGLError(std::string_view tag)
{
    if (!IsGLContextCurrent()) {
        LogDebug("ERROR: No Current Rendering Context at " + std::string(tag) + "\n");
        return true;
    }
    GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return false;
    int logged = 0;
    do {
        LogDebug(std::string(tag) + " Received an OpenGL Error '" + ErrorText(error) + "'\n");
        if (++logged == kMostErrorsLogged)
            break;
        error = glGetError();
    } while (error != GL_NO_ERROR);
    return true;
}

} // namespace zelvane
