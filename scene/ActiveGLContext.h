#pragma once
// The context that code creating or deleting OpenGL objects outside drawing
// (textures, display lists, lights switched off when they go) brackets its
// work with: the editor's view, or an off-screen context in tests and the
// command-line tool. Set for the whole time that context serves the scene.

#include "scene/GLContext.h"

#include <cstdint>

namespace zelvane {

// Makes `context` the active one (nullptr: none; BeginGL/EndGL then do
// nothing). The caller keeps ownership and clears it before the context goes.
void SetActiveGLContext(IGLContext* context);

// The active context, or one whose brackets do nothing when none is set.
IGLContext& ActiveGLContext();

// Changes whenever the active context does, so that what was built in one
// context (shared display lists) is never used in another.
std::uint64_t ActiveGLContextGeneration();

// Makes a context active for its scope, then restores the one before.
class ActiveGLContextScope {
public:
    explicit ActiveGLContextScope(IGLContext& context);
    ~ActiveGLContextScope();
    ActiveGLContextScope(const ActiveGLContextScope&) = delete;
    ActiveGLContextScope& operator=(const ActiveGLContextScope&) = delete;

private:
    IGLContext* previous_;
};

} // namespace zelvane
