#pragma once
// What the About box says about the OpenGL in use: the version, vendor and
// renderer strings of a context.

#include "scene/GLContext.h"

#include <string>

namespace zelvane {

struct OpenGLInfo {
    std::string version;
    std::string vendor;
    std::string renderer;
};

// Reads the three strings inside a BeginGL/EndGL bracket of `context`. A
// string the driver does not give (no context could be made current) is
// "(unknown)".
OpenGLInfo ReadOpenGLInfo(IGLContext& context);

} // namespace zelvane
