#pragma once
// The twelve rendered images of an object turned into what the object file
// holds: one 256-colour palette chosen from all twelve images together, and
// per tile one sprite of twelve frames (colour, depth and alpha planes) with
// the draw group images that place them.
//
// Frame f of a tile's sprite holds the image GameImage::SpriteFrame() = f;
// each draw group image refers to its frame with the pixel offsets of the
// frame's left and bottom edges from the tile's centre, which is where the
// preview composer (and the game) lays it. An image in which a tile shows
// nothing gets an empty 1 × 1 frame and no reference.
//
// Alpha is stored as the game stores it: pixels drawn in full are opaque
// (255), the others keep 5 bits (coverage in 32nds, times 8), and pixels
// that would keep 0 are not drawn. The palette keeps entry 2 free for the
// frames' transparent index, as real files do, and gives it their yellow.

#include "bake/BakedImage.h"
#include "bake/SpritePalette.h"
#include "bake/TileFootprint.h"
#include "objects/Palette.h"
#include "objects/SpriteFrame.h"
#include "resfile/CTGDrawGroup.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zelvane {

struct TileSprites {
    std::vector<SpriteFrame> frames;    // kGameImages, in sprite frame order
    std::vector<DrawGroupImage> images; // kGameImages, in image index order
};

struct ObjectSprites {
    Palette palette;
    std::vector<TileSprites> tiles; // in footprint order
    // Peak signal-to-noise ratio of the palette colours against the render,
    // over every drawn pixel (infinite when they are equal).
    double psnr = 0;
    int coloursUsed = 0;
};

struct SpriteOptions {
    bool dither = false; // Floyd–Steinberg error diffusion within each image
    int32_t paletteId = 0;
    std::vector<int16_t> spriteIds; // per tile
};

// `images` in image index order, `options.spriteIds` one per tile.
ObjectSprites MakeObjectSprites(const std::array<BakedImage, kGameImages>& images, const TileFootprint& footprint,
                                const SpriteOptions& options);

} // namespace zelvane
