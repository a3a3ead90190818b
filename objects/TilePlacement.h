#pragma once
// Where the tiles of an object go on screen in each of the four view
// directions: the one table the preview composer places sprites by and the
// sample game's sprite rasteriser draws them for, so that what is drawn and
// where it is put always agree.

namespace zelvane {

// Screen offsets of one tile step at full size, in a top-down image: the left
// edge and the bottom edge of a tile's frames per step along x and y (and,
// for the bottom, per level up), and its depth (larger is farther).
struct TilePlacement {
    int leftX, leftY;
    int bottomX, bottomY, bottomLevel;
    int depthX, depthY;

    // Each smaller zoom step halves every offset (arithmetic shift).
    constexpr TilePlacement Shifted(int shift) const
    {
        return {leftX >> shift,       leftY >> shift,  bottomX >> shift, bottomY >> shift,
                bottomLevel >> shift, depthX >> shift, depthY >> shift};
    }
};

inline constexpr int kViewDirections = 4;

// Each direction turns the tile axes a quarter turn further; a real two-tile
// object assembles whole in all four.
inline constexpr TilePlacement kTilePlacements[kViewDirections] = {
    {64, -64, 32, 32, -50, -347, -347},  // 0: the tile axes reversed
    {-64, -64, 32, -32, -50, -347, 347}, // 1
    {-64, 64, -32, -32, -50, 347, 347},  // 2: image index 10
    {64, 64, -32, 32, -50, 347, -347},   // 3
};

// The placement of a direction, taken modulo 4.
constexpr const TilePlacement& TilePlacementOf(int direction)
{
    return kTilePlacements[direction & (kViewDirections - 1)];
}

} // namespace zelvane
