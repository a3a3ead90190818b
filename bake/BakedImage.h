#pragma once
// One of the twelve images of an object as rendered, before its colours go
// to the palette: each pixel's colour, coverage, depth level and the tile
// whose sprite it belongs to.

#include "bake/GameCamera.h"

#include <cstdint>
#include <vector>

namespace zelvane {

struct BakedPixel {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;    // coverage, 0 (nothing drawn) to 255
    uint8_t depth = 255;  // GameDepth level, counted from `tile`'s centre
    uint8_t tile = 0;     // index in the footprint

    bool Drawn() const { return alpha > 0; }
};

struct BakedImage {
    GameImage image;
    // Pixel (0, 0) lies `left`, `top` pixels of this image's zoom from the
    // centre of tile (0, 0).
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<BakedPixel> pixels; // rows top first

    void Resize(int w, int h)
    {
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), BakedPixel{});
    }
    BakedPixel& At(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
    const BakedPixel& At(int x, int y) const
    {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x];
    }
};

} // namespace zelvane
