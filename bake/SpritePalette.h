#pragma once
// The one palette an object's sprites are written with, and each picture's
// pixels mapped to it: the bake chooses it from its renders, the sprite
// import from painted images.
//
// Up to 255 colours come from the quantiser, chosen from every drawn pixel
// weighted by its coverage; entry 2 stays free for the frames' transparent
// index, as real files keep it, and gets their yellow.

#include "bake/BakedImage.h"
#include "bake/PaletteQuantiser.h"
#include "objects/Palette.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

inline constexpr uint8_t kBakedTransparentIndex = 2;
inline constexpr Rgb kBakedTransparentColour{255, 255, 0};

// The alpha byte a sprite frame keeps for a coverage (0 to 255); 0 means
// the pixel is not drawn.
uint8_t SpriteAlpha(uint8_t coverage);

struct SpritePalette {
    Palette palette;
    PaletteQuantiser quantiser;
    int coloursUsed = 0;
};

// Chooses the palette from every pixel of `images` that SpriteAlpha keeps.
SpritePalette ChooseSpritePalette(std::span<const BakedImage> images);

// The palette index of every pixel of `image` that SpriteAlpha keeps (0
// elsewhere): the nearest colour or, with `dither`, Floyd–Steinberg over
// those pixels in alternating row directions. All 0 when the palette has no
// colours.
std::vector<uint8_t> IndexImage(const BakedImage& image, const SpritePalette& palette, bool dither);

// The palette index of the colour nearest to (red, green, blue); the
// palette must have colours.
uint8_t NearestIndex(const SpritePalette& palette, Rgb colour);

// Peak signal-to-noise ratio of the palette colours `indices` pick against
// the pictures, over every pixel SpriteAlpha keeps (infinite when equal).
double PalettePsnr(std::span<const BakedImage> images, std::span<const std::vector<uint8_t>> indices,
                   const Palette& palette);

} // namespace zelvane
