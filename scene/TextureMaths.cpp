#include "scene/TextureMaths.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zelvane {

namespace {

GammaTable& ProcessTable()
{
    static GammaTable table = MakeGammaTable(1.0);
    return table;
}

} // namespace

int NearestPowerOfTwo(int n)
{
    n = std::min(n, kLargestTextureSide);
    int best = kSmallestTextureSide;
    long bestDistance = kLargestTextureSide;
    for (int side = kSmallestTextureSide; side <= kLargestTextureSide; side *= 2) {
        const long distance = std::labs(static_cast<long>(side) - n);
        if (distance < bestDistance) {
            best = side;
            bestDistance = distance;
        }
    }
    return best;
}

GammaTable MakeGammaTable(double g)
{
    GammaTable table{};
    for (int i = 0; i < 256; ++i) {
        if (g == 1.0) {
            table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
            continue;
        }
        const double value = 255.0 * std::pow((i + 0.5) / 255.5, g) + 0.5;
        // NaN (from a NaN gamma) compares false both ways and ends up 0.
        const double clamped = value >= 0.0 ? std::min(value, 255.0) : 0.0;
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(clamped);
    }
    return table;
}

void BuildGammaTable(double g)
{
    ProcessTable() = MakeGammaTable(g);
}

const GammaTable& CurrentGammaTable()
{
    return ProcessTable();
}

} // namespace zelvane
