#pragma once
// One drag of a mouse tool, from the button going down (or an arrow key) to
// its release: every tool drags through this one interface. Object tools
// move the selected object or its texture, as one undo step of the document
// when the drag ends; camera tools move the view's camera, which is no
// change of the document. Cancel puts everything back as it was when the
// drag began.
//
// Move and Pan follow the hand in every camera preset. The left button moves
// the object in the plane the view shows best, as far as the pointer goes on
// the screen: looking down at the floor (The Sims, Top), along the floor, up
// the screen being away from the viewer; looking level (Front, Left, Right),
// in the plane of the screen. The right button moves it along what remains:
// up and down when looking down, in and out along the view when looking
// level. X governs the left-right movement, Y the vertical one and Z the
// in-out one (along the floor away from the viewer, or along the view).
// Rotate turns about the scene's vertical axis, or its X or Z axis when
// chosen. With snapping (Ctrl held with the mouse) positions go to the grid
// of 1/16 tile and Rotate's angle to steps of 15°.

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
    bool snap = false;
};

// Snapping's grid and angle.
inline constexpr float kSnapGrid = 1.0f / 16.0f;
inline constexpr float kSnapDegrees = 15.0f;
// The factor one wheel notch zooms by (forward nearer, back farther), and
// one pixel of the Zoom tool's drag at sensitivity 1.
inline constexpr float kWheelNotchZoom = 1.25f;
inline constexpr float kZoomPerPixel = 1.01f;

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
    // Scene units per pixel of the window at the camera's distance: how far
    // a step of Move and Pan goes to follow the pointer.
    float unitsPerPixel = 0.01f;
};

// The drag of `setup.tool`: an object drag on `target` for the tools that act
// on an object, a camera drag for the camera tools; null for Select, or an
// object tool without a target.
std::unique_ptr<ToolDrag> BeginToolDrag(const DragSetup& setup, COGLDoc& document, COGLObject* target,
                                        COGLViewport3D& viewport);

} // namespace zelvane
