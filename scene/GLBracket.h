#pragma once
// BeginGL/EndGL of the active context for one scope, ended on every path out
// of it: for work that makes or deletes display lists and textures outside
// drawing.

#include "scene/ActiveGLContext.h"

namespace zelvane {

class GLBracket {
public:
    GLBracket() : context_(ActiveGLContext()) { context_.BeginGL(); }
    ~GLBracket() { context_.EndGL(); }
    GLBracket(const GLBracket&) = delete;
    GLBracket& operator=(const GLBracket&) = delete;

private:
    IGLContext& context_;
};

} // namespace zelvane
