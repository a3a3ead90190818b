#pragma once
// Where an object is and how its texture lies on it: everything the mouse
// tools change, taken as one value so a change can be put back exactly.

#include "scene/math/Quaternion.h"
#include "scene/math/Vector3.h"

namespace zelvane {

class COGLObject;

struct ObjectPlacement {
    Vector3 position;
    Vector3 scale;
    Quaternion orientation;
    Vector3 textureOffset;
    Vector3 textureScale;
    Vector3 textureRotation;

    static ObjectPlacement Of(const COGLObject& object);
    // Through the object's setters, so a kind's own rules (a plane's z scale
    // stays 1) hold as they did when the placement was taken.
    void ApplyTo(COGLObject& object) const;

    friend bool operator==(const ObjectPlacement&, const ObjectPlacement&) = default;
};

} // namespace zelvane
