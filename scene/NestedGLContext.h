#pragma once
// The one nesting count behind BeginGL/EndGL. The editor's view and the
// off-screen context both derive from it, so a bracket opened inside another
// never releases the context early, whoever owns it.

#include "scene/GLContext.h"

#include <cstdint>

namespace zelvane {

class NestedGLContext : public IGLContext {
public:
    // Only the outermost BeginGL makes the context current; only the EndGL that
    // closes it releases the context.
    void BeginGL() final;
    void EndGL() final;

    // Open brackets not yet closed.
    int Nesting() const { return nesting_; }

protected:
    NestedGLContext() = default;
    ~NestedGLContext() override = default;
    NestedGLContext(const NestedGLContext&) = delete;
    NestedGLContext& operator=(const NestedGLContext&) = delete;

    // Makes the context current on this thread; a failure is fatal.
    virtual void MakeCurrent() = 0;
    virtual void ReleaseCurrent() = 0;

    // For a scope in which someone else (a window system's paint) has already
    // made the context current: it counts as an open bracket, so BeginGL/EndGL
    // pairs inside it leave the context alone.
    class CurrentByOthers {
    public:
        explicit CurrentByOthers(NestedGLContext& context) : context_(context) { ++context_.nesting_; }
        ~CurrentByOthers() { --context_.nesting_; }
        CurrentByOthers(const CurrentByOthers&) = delete;
        CurrentByOthers& operator=(const CurrentByOthers&) = delete;

    private:
        NestedGLContext& context_;
    };

private:
    int nesting_ = 0;
};

} // namespace zelvane
