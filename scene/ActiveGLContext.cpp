#include "scene/ActiveGLContext.h"

namespace zelvane {

namespace {

class NoGLContext final : public IGLContext {
public:
    void BeginGL() override {}
    void EndGL() override {}
};

struct ActiveState {
    IGLContext* context = nullptr;
    std::uint64_t generation = 0;
};

ActiveState& State()
{
    static ActiveState state;
    return state;
}

} // namespace

void SetActiveGLContext(IGLContext* context)
{
    ActiveState& state = State();
    if (state.context == context)
        return;
    state.context = context;
    ++state.generation;
}

IGLContext& ActiveGLContext()
{
    static NoGLContext none;
    IGLContext* context = State().context;
    return context ? *context : none;
}

std::uint64_t ActiveGLContextGeneration()
{
    return State().generation;
}

ActiveGLContextScope::ActiveGLContextScope(IGLContext& context) : previous_(State().context)
{
    SetActiveGLContext(&context);
}

ActiveGLContextScope::~ActiveGLContextScope()
{
    SetActiveGLContext(previous_);
}

} // namespace zelvane
