#pragma once
// The floor tiles an object stands on, and which part of the scene each
// tile's sprites show.
//
// The floor is cut along the edges between the object's tiles, one scene
// unit apart; the outer edges are left open, so whatever stands beyond the
// footprint (an overhanging back, a lamp's shade) goes to the tile it leans
// out from and nothing of the object is lost. Nothing below the floor is
// shown: the game's floor hides it.

#include <array>
#include <cstddef>
#include <vector>

namespace zelvane {

struct TileSpot {
    int x = 0;
    int y = 0;
    friend bool operator==(const TileSpot&, const TileSpot&) = default;
};

// a·x + b·y + c·z + d ≥ 0 in scene coordinates: the side that is kept, as
// glClipPlane takes it.
using ClipPlane = std::array<double, 4>;

class TileFootprint {
public:
    // Tiles at distinct spots (the caller checks); at least one.
    explicit TileFootprint(std::vector<TileSpot> tiles);

    size_t Count() const { return tiles_.size(); }
    const TileSpot& Tile(size_t i) const { return tiles_[i]; }
    const std::vector<TileSpot>& Tiles() const { return tiles_; }

    // The planes that bound tile i's part of the scene: the floor, and each
    // edge it shares with the footprint's inside.
    std::vector<ClipPlane> RegionOf(size_t i) const;
    // Whether the scene point (x, y, z) lies in tile i's part (used to check
    // the planes; the renderer clips with them).
    bool Contains(size_t i, double x, double y, double z) const;

    // The tiles in the order a view ray of `direction` meets them: nearest to
    // the camera first. Where two tiles tie, no ray meets both.
    std::vector<size_t> FrontToBack(int direction) const;

    // How far below the floor the floor's plane cuts: a flat object lying on
    // the floor stays whole.
    static constexpr double kFloorTolerance = 1e-3;

private:
    std::vector<TileSpot> tiles_;
};

} // namespace zelvane
