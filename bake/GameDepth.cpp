#include "bake/GameDepth.h"

#include <cmath>

namespace zelvane {

uint8_t GameDepth::Level(double distance)
{
    const double level = kAtTileCentre + kPerUnit * distance;
    // NaN (no distance) counts as the farthest a drawn pixel may be.
    if (!(level < kFarthest))
        return kFarthest;
    if (level <= kNearest)
        return kNearest;
    return static_cast<uint8_t>(std::lround(level));
}

} // namespace zelvane
