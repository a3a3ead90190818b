#include "scene/math/Angles.h"

#include <cmath>

namespace zelvane {

float WrapDegrees(float degrees)
{
    if (!std::isfinite(degrees))
        return 0.0f;
    if (std::fabs(degrees) >= 720.0f)
        degrees = std::fmod(degrees, 360.0f);
    while (degrees > 359.0f)
        degrees -= 360.0f;
    while (degrees < 0.0f)
        degrees += 360.0f;
    return degrees;
}

} // namespace zelvane
