#pragma once
// Three 32-bit floats: points, directions and the signed world axes the camera
// keeps nearest to the screen's directions.

#include <cmath>

namespace zelvane {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    void Set(float nx, float ny, float nz)
    {
        x = nx;
        y = ny;
        z = nz;
    }
    float Length() const { return std::sqrt(x * x + y * y + z * z); }
    // Divides by the length; a zero vector stays as it is.
    void Normalise();
    // The signed unit world axis nearest to this vector: x wins only when |x| is
    // larger than both others, y when |y| is at least |x| and larger than |z|,
    // else z (ties go to z before y before x). The sign is + for a positive
    // component and - for zero or negative, so (0, 0, 0) snaps to (0, 0, -1).
    Vector3 SnappedToAxis() const;
    // Euclidean distance, computed in 32-bit floats.
    float DistanceTo(const Vector3& other) const;

    Vector3 operator+(const Vector3& v) const { return {x + v.x, y + v.y, z + v.z}; }
    Vector3 operator-(const Vector3& v) const { return {x - v.x, y - v.y, z - v.z}; }
    Vector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    Vector3& operator+=(const Vector3& v) { return *this = *this + v; }
    friend bool operator==(const Vector3&, const Vector3&) = default;
};

} // namespace zelvane
