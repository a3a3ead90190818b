#include "scene/math/Quaternion.h"

#include <cmath>

namespace zelvane {

Quaternion Quaternion::FromAxisAngle(const Vector3& axis, float degrees)
{
    // The factor is the one the stored orientations were made with.
    const double half = static_cast<double>(degrees) * 0.0174532925 * 0.5;
    const auto s = static_cast<float>(std::sin(half));
    return {s * axis.x, s * axis.y, s * axis.z, static_cast<float>(std::cos(half))};
}

Quaternion Quaternion::operator*(const Quaternion& o) const
{
    return {w * o.x + x * o.w + y * o.z - z * o.y,
            w * o.y - x * o.z + y * o.w + z * o.x,
            w * o.z + x * o.y - y * o.x + z * o.w,
            w * o.w - x * o.x - y * o.y - z * o.z};
}

void Quaternion::Normalise()
{
    const float sum = x * x + y * y + z * z + w * w;
    if (sum == 0.0f)
        return;
    x /= sum;
    y /= sum;
    z /= sum;
    w /= sum;
}

Quaternion Quaternion::TurnedAboutSceneAxis(const Vector3& axis, float degrees) const
{
    // ToMatrix(a ⊗ b) turns by b first, in the object's axes, then by a: the
    // scene's axis comes last.
    Quaternion turned = *this * FromAxisAngle(axis, degrees);
    turned.Normalise();
    return turned;
}

Matrix4 Quaternion::ToMatrix() const
{
    const double qx = x, qy = y, qz = z, qw = w;
    return Matrix4({1 - 2 * (qy * qy + qz * qz), 2 * (qx * qy - qw * qz), 2 * (qx * qz + qw * qy), 0,
                    2 * (qx * qy + qw * qz), 1 - 2 * (qx * qx + qz * qz), 2 * (qy * qz - qw * qx), 0,
                    2 * (qx * qz - qw * qy), 2 * (qy * qz + qw * qx), 1 - 2 * (qx * qx + qy * qy), 0,
                    0, 0, 0, 1});
}

} // namespace zelvane
