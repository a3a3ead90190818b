#include "bake/TileFootprint.h"

#include "objects/TilePlacement.h"

#include <algorithm>

namespace zelvane {

namespace {

constexpr double kHalfTile = 0.5;

} // namespace

TileFootprint::TileFootprint(std::vector<TileSpot> tiles) : tiles_(std::move(tiles)) {}

// Tile (x, y) covers scene x from y − ½ to y + ½ and scene z from −x − ½ to
// −x + ½ (GameCamera::TileCentre). An edge is cut only where another tile of
// the footprint lies across it.
std::vector<ClipPlane> TileFootprint::RegionOf(size_t i) const
{
    const TileSpot t = tiles_[i];
    auto has = [this](int x, int y) { return std::find(tiles_.begin(), tiles_.end(), TileSpot{x, y}) != tiles_.end(); };
    std::vector<ClipPlane> planes = {{0, 1, 0, kFloorTolerance}};
    if (has(t.x, t.y - 1))
        planes.push_back({1, 0, 0, -(t.y - kHalfTile)}); // scene x ≥ y − ½
    if (has(t.x, t.y + 1))
        planes.push_back({-1, 0, 0, t.y + kHalfTile}); // scene x ≤ y + ½
    if (has(t.x - 1, t.y))
        planes.push_back({0, 0, -1, -t.x + kHalfTile}); // scene z ≤ −x + ½
    if (has(t.x + 1, t.y))
        planes.push_back({0, 0, 1, t.x + kHalfTile}); // scene z ≥ −x − ½
    return planes;
}

bool TileFootprint::Contains(size_t i, double x, double y, double z) const
{
    for (const ClipPlane& p : RegionOf(i))
        if (p[0] * x + p[1] * y + p[2] * z + p[3] < 0)
            return false;
    return true;
}

std::vector<size_t> TileFootprint::FrontToBack(int direction) const
{
    const TilePlacement& c = TilePlacementOf(direction);
    std::vector<size_t> order(tiles_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // The composer's tile depth: larger is farther.
    auto depth = [&](size_t i) { return c.depthX * tiles_[i].x + c.depthY * tiles_[i].y; };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return depth(a) < depth(b); });
    return order;
}

} // namespace zelvane
