#pragma once
// What the tools need from the window they work in: the pointer held during
// a drag, picking in its OpenGL context, and repainting after a camera move.
// The view implements it; tests implement it with a recorder.

#include "scene/ScenePicker.h"

namespace zelvane {

class IToolHost {
public:
    virtual ~IToolHost() = default;

    // A drag begins: remember where the pointer is on the screen, hide it and
    // send every mouse event to the view until ReleasePointer.
    virtual void CapturePointer() = 0;
    // The hidden pointer left the window: put it back where it was remembered.
    virtual void ReturnPointer() = 0;
    // A drag ends: the pointer back where it was remembered, shown, released.
    virtual void ReleasePointer() = 0;

    // Picks at a client point through the scene's picking pass.
    virtual PickResult Pick(int x, int y) = 0;
    virtual void Repaint() = 0;
};

} // namespace zelvane
