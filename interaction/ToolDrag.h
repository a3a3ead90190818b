#pragma once
// One drag of a mouse tool, from the button going down (or an arrow key) to
// its release: every tool drags through this one interface. Object tools
// move the selected object or its texture, as one undo step of the document
// when the drag ends; camera tools move the view's camera, which is no
// change of the document. Cancel puts everything back as it was when the
// drag began.

#include "interaction/Tool.h"
#include "interaction/ToolSpeeds.h"

#include <memory>

namespace zelvane {

class COGLDoc;
class COGLObject;
class COGLViewport3D;

// One step: how far the pointer went (the dominant axis already chosen and
// clamped) and with which buttons.
struct DragStep {
    float dx = 0.0f;
    float dy = 0.0f;
    bool left = false;
    bool right = false;
};

class ToolDrag {
public:
    virtual ~ToolDrag() = default;
    virtual void Step(const DragStep& step) = 0;
    // What the drag changed stays (objects: one undo step).
    virtual void End() = 0;
    // Everything back as the drag began; no undo step.
    virtual void Cancel() = 0;
    // The degrees Rotate has turned in this drag, wrapped within ±359.
    virtual float RotationTotal() const { return 0.0f; }
};

// What a drag is set up with.
struct DragSetup {
    Tool tool = Tool::Select;
    AxisSwitches switches{};
    ToolSpeeds speeds;
    // The window's width in pixels, for Scale (below 1: Scale does nothing).
    int clientWidth = 0;
};

// The drag of `setup.tool`: an object drag on `target` for the tools that act
// on an object, a camera drag for the camera tools; null for Select, or an
// object tool without a target.
std::unique_ptr<ToolDrag> BeginToolDrag(const DragSetup& setup, COGLDoc& document, COGLObject* target,
                                        COGLViewport3D& viewport);

} // namespace zelvane
