#pragma once
// What code that creates or deletes OpenGL objects outside drawing (display
// lists, textures, fonts) needs from whoever owns the context: the view's window
// in the editor, an off-screen context in tests and the command-line tool.

namespace zelvane {

class IGLContext {
public:
    virtual ~IGLContext() = default;
    // Makes the context current on this thread. Calls nest: only the outermost
    // BeginGL makes it current and only the matching EndGL releases it.
    virtual void BeginGL() = 0;
    virtual void EndGL() = 0;
};

} // namespace zelvane
