#include "scene/math/Vector3.h"

namespace zelvane {

void Vector3::Normalise()
{
    const float length = Length();
    if (length == 0.0f)
        return;
    x /= length;
    y /= length;
    z /= length;
}

Vector3 Vector3::SnappedToAxis() const
{
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    const float az = std::fabs(z);
    auto sign = [](float component) { return component > 0.0f ? 1.0f : -1.0f; };
    if (ax > ay && ax > az)
        return {sign(x), 0.0f, 0.0f};
    if (ay >= ax && ay > az)
        return {0.0f, sign(y), 0.0f};
    return {0.0f, 0.0f, sign(z)};
}

float Vector3::DistanceTo(const Vector3& other) const
{
    return (*this - other).Length();
}

} // namespace zelvane
