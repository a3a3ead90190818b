#pragma once
// An orientation as a quaternion of four 32-bit floats (x, y, z, w).

#include "scene/math/Matrix4.h"
#include "scene/math/Vector3.h"

namespace zelvane {

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    // (sin h · axis, cos h) with h half the angle; the axis is used as given,
    // so only a unit axis gives a unit quaternion.
    static Quaternion FromAxisAngle(const Vector3& axis, float degrees);

    // The Hamilton product this ⊗ other.
    Quaternion operator*(const Quaternion& other) const;

    // Divides each component by the sum of the four squares, which keeps a
    // product of unit quaternions from drifting away from unit length.
    void Normalise();

    // This orientation turned further by `degrees` about the scene's unit
    // `axis`, whatever earlier turns did to the object's own axes (which
    // RotateAxisAngle turns about), in the same sense, normalised.
    Quaternion TurnedAboutSceneAxis(const Vector3& axis, float degrees) const;

    // The rotation matrix that turning an object by this orientation
    // multiplies onto the current matrix. With it a +90° turn about +x takes
    // +z to +y.
    Matrix4 ToMatrix() const;

    friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

} // namespace zelvane
