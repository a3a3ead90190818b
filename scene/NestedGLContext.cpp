#include "scene/NestedGLContext.h"

#include <cassert>

namespace zelvane {

void NestedGLContext::BeginGL()
{
    if (nesting_++ == 0)
        MakeCurrent();
}

void NestedGLContext::EndGL()
{
    assert(nesting_ > 0 && "EndGL without BeginGL");
    if (--nesting_ == 0)
        ReleaseCurrent();
}

} // namespace zelvane
