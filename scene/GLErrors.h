#pragma once

#include <string_view>

namespace zelvane {

// Logs the pending OpenGL errors of the current context to the debug log, each
// as "<tag> Received an OpenGL Error '<text>'", at most 11 of them (the rest stay
// pending). With no current context it logs "ERROR: No Current Rendering Context
// at <tag>" instead. True when anything was logged.
bool CheckGLError(std::string_view tag);

// Whether an OpenGL context is current on this thread.
bool IsGLContextCurrent();

} // namespace zelvane
