#include "bake/SpritePalette.h"

// Sections: alpha; the palette; colour indices (with dithering); the error.

#include "objects/SpriteLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zelvane {

namespace {

constexpr int kAlphaLevels = 32; // what 'SPR2' keeps below opaque: alpha ÷ 8

// The palette entry of the quantiser's colour k: entry 2 is skipped.
uint8_t PaletteIndexOf(int colour)
{
    return static_cast<uint8_t>(colour < kBakedTransparentIndex ? colour : colour + 1);
}

} // namespace

// ---- alpha ----

uint8_t SpriteAlpha(uint8_t coverage)
{
    const int level = (coverage * kAlphaLevels + 127) / 255;
    if (level >= kAlphaLevels)
        return kOpaqueAlpha;
    return static_cast<uint8_t>(level << spr2_layout::kAlphaShift);
}

// ---- the palette ----

SpritePalette ChooseSpritePalette(std::span<const BakedImage> images)
{
    SpritePalette result;
    for (const BakedImage& image : images)
        for (const BakedPixel& p : image.pixels)
            if (SpriteAlpha(p.alpha) != 0)
                result.quantiser.Add({p.red, p.green, p.blue}, p.alpha / 255.0f);
    result.quantiser.Build(static_cast<int>(Palette::kSize) - 1);
    const std::vector<Rgb>& colours = result.quantiser.Colours();
    result.coloursUsed = static_cast<int>(colours.size());
    for (size_t k = 0; k < colours.size(); ++k)
        result.palette[PaletteIndexOf(static_cast<int>(k))] = colours[k];
    result.palette[kBakedTransparentIndex] = kBakedTransparentColour;
    return result;
}

// ---- colour indices ----

uint8_t NearestIndex(const SpritePalette& palette, Rgb colour)
{
    return PaletteIndexOf(palette.quantiser.Nearest(colour.red, colour.green, colour.blue));
}

std::vector<uint8_t> IndexImage(const BakedImage& image, const SpritePalette& palette, bool dither)
{
    const int w = image.width, h = image.height;
    std::vector<uint8_t> indices(image.pixels.size(), 0);
    const std::vector<Rgb>& colours = palette.quantiser.Colours();
    if (colours.empty())
        return indices;
    std::vector<std::array<float, 3>> error(dither ? indices.size() : 0, std::array<float, 3>{});
    for (int y = 0; y < h; ++y) {
        const bool leftward = dither && (y % 2 == 1);
        for (int i = 0; i < w; ++i) {
            const int x = leftward ? w - 1 - i : i;
            const size_t p = static_cast<size_t>(y) * w + x;
            const BakedPixel& pixel = image.pixels[p];
            if (SpriteAlpha(pixel.alpha) == 0)
                continue;
            std::array<float, 3> want = {static_cast<float>(pixel.red), static_cast<float>(pixel.green),
                                         static_cast<float>(pixel.blue)};
            if (dither)
                for (size_t c = 0; c < 3; ++c)
                    want[c] = std::clamp(want[c] + error[p][c], -64.0f, 319.0f);
            const int k = palette.quantiser.Nearest(want[0], want[1], want[2]);
            indices[p] = PaletteIndexOf(k);
            if (!dither)
                continue;
            const Rgb got = colours[static_cast<size_t>(k)];
            const std::array<float, 3> e = {want[0] - got.red, want[1] - got.green, want[2] - got.blue};
            const int ahead = leftward ? -1 : 1;
            auto spread = [&](int dx, int dy, float share) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || nx >= w || ny >= h)
                    return;
                const size_t q = static_cast<size_t>(ny) * w + nx;
                for (size_t c = 0; c < 3; ++c)
                    error[q][c] += e[c] * share;
            };
            spread(ahead, 0, 7.0f / 16);
            spread(-ahead, 1, 3.0f / 16);
            spread(0, 1, 5.0f / 16);
            spread(ahead, 1, 1.0f / 16);
        }
    }
    return indices;
}

// ---- the error ----

double PalettePsnr(std::span<const BakedImage> images, std::span<const std::vector<uint8_t>> indices,
                   const Palette& palette)
{
    double squaredError = 0;
    uint64_t samples = 0;
    for (size_t i = 0; i < images.size() && i < indices.size(); ++i) {
        const BakedImage& image = images[i];
        for (size_t p = 0; p < image.pixels.size() && p < indices[i].size(); ++p) {
            const BakedPixel& pixel = image.pixels[p];
            if (SpriteAlpha(pixel.alpha) == 0)
                continue;
            const Rgb got = palette[indices[i][p]];
            const double dr = got.red - pixel.red, dg = got.green - pixel.green, db = got.blue - pixel.blue;
            squaredError += dr * dr + dg * dg + db * db;
            samples += 3;
        }
    }
    return squaredError == 0 ? std::numeric_limits<double>::infinity()
                             : 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(samples) / squaredError);
}

} // namespace zelvane
