#pragma once
// Cutting a sprite frame out of a rendered picture: the smallest rectangle
// that holds every pixel the frame shows, its planes starting blank. Both the
// scene's renders and the sample furniture's rasteriser cut their frames so.

#include "objects/SpriteFrame.h"
#include "objects/SpriteLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace zelvane {

struct SpriteFrameCut {
    SpriteFrame frame;
    bool empty = true; // nothing shown: a 1 × 1 blank frame
    // The frame's rectangle in the picture's pixels, inclusive.
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

// Where real sprites put a frame: each picture of a tile is cut from a
// canvas of 136 × 384 pixels at the largest zoom, in which the tile's centre
// on the floor lies at (68, 348), halved at each smaller zoom; a frame
// header's x and y are the frame's top-left corner in that canvas.
namespace tile_canvas {
inline constexpr int kWidth = 136;
inline constexpr int kHeight = 384;
inline constexpr int kCentreX = 68;
inline constexpr int kCentreY = 348;
} // namespace tile_canvas

// Gives a frame its header position: its left edge lies `left` pixels to
// the right of the tile's centre and its bottom edge `bottom` pixels below
// it, in pixels of zoom shift `zoomShift` (0 the largest).
inline void PlaceInTileCanvas(SpriteFrameInfo& info, int left, int bottom, int height, int zoomShift)
{
    info.originX = (tile_canvas::kCentreX >> zoomShift) + left;
    info.originY = (tile_canvas::kCentreY >> zoomShift) + bottom - height;
}

// Cuts a frame from a `width` × `height` picture: `shows(x, y)` says whether
// the frame shows pixel (x, y), and `fill(x, y, colour, depth, alpha)` sets
// the three plane bytes of each pixel shown. Pixels not shown keep
// `transparentIndex`, the empty depth and no alpha.
template <class Shows, class Fill>
SpriteFrameCut CutSpriteFrame(int width, int height, uint8_t transparentIndex, Shows shows, Fill fill)
{
    SpriteFrameCut cut;
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (shows(x, y)) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    cut.empty = x1 < 0;
    if (cut.empty)
        x0 = x1 = y0 = y1 = 0;
    cut.x0 = x0;
    cut.y0 = y0;
    cut.x1 = x1;
    cut.y1 = y1;
    const int frameWidth = x1 - x0 + 1, frameHeight = y1 - y0 + 1;
    SpriteFrame& frame = cut.frame;
    frame.transparentIndex = transparentIndex;
    frame.colour = PlainImage(frameWidth, frameHeight, 1, transparentIndex);
    frame.depth = PlainImage(frameWidth, frameHeight, 1, kEmptyDepth);
    frame.alpha = PlainImage(frameWidth, frameHeight, 1, kEmptyAlpha);
    if (cut.empty)
        return cut;
    for (int y = y0; y <= y1; ++y) {
        std::span<uint8_t> colour = frame.colour.Row(y - y0);
        std::span<uint8_t> depth = frame.depth.Row(y - y0);
        std::span<uint8_t> alpha = frame.alpha.Row(y - y0);
        for (int x = x0; x <= x1; ++x)
            if (shows(x, y)) {
                const auto fx = static_cast<size_t>(x - x0);
                fill(x, y, colour[fx], depth[fx], alpha[fx]);
            }
    }
    return cut;
}

} // namespace zelvane
