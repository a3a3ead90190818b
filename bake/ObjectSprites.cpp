#include "bake/ObjectSprites.h"

// Sections: alpha; the palette; colour indices (with dithering); cutting
// the frames.

#include "bake/PaletteQuantiser.h"
#include "objects/SpriteFrameCut.h"
#include "objects/SpriteLayout.h"
#include "objects/TilePlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelvane {

namespace {

constexpr int kAlphaLevels = 32; // what 'SPR2' keeps below opaque: alpha ÷ 8

// ---- the palette ----

uint8_t PaletteIndexOf(int colour)
{
    return static_cast<uint8_t>(colour < kBakedTransparentIndex ? colour : colour + 1);
}

// ---- colour indices ----

// The palette index of every pixel of `image` (0 where nothing is drawn),
// nearest colours or, with `dither`, Floyd–Steinberg over the drawn pixels
// in alternating row directions.
std::vector<uint8_t> IndexImage(const BakedImage& image, const PaletteQuantiser& quantiser, bool dither)
{
    const int w = image.width, h = image.height;
    std::vector<uint8_t> indices(image.pixels.size(), 0);
    std::vector<std::array<float, 3>> error(dither ? indices.size() : 0, std::array<float, 3>{});
    const std::vector<Rgb>& colours = quantiser.Colours();
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
            const int k = quantiser.Nearest(want[0], want[1], want[2]);
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

// ---- cutting the frames ----

struct Cut {
    SpriteFrame frame;
    bool empty = true;
    int left = 0;   // of the frame, in the image's pixels from tile (0, 0)'s centre
    int bottom = 0;
};

Cut CutFrame(const BakedImage& image, const std::vector<uint8_t>& indices, size_t tile, int32_t paletteId)
{
    SpriteFrameCut frameCut = CutSpriteFrame(
        image.width, image.height, kBakedTransparentIndex,
        [&](int x, int y) {
            const BakedPixel& p = image.At(x, y);
            return p.tile == tile && SpriteAlpha(p.alpha) != 0;
        },
        [&](int x, int y, uint8_t& colour, uint8_t& depth, uint8_t& alpha) {
            const BakedPixel& p = image.At(x, y);
            colour = indices[static_cast<size_t>(y) * image.width + x];
            depth = std::min<uint8_t>(p.depth, kEmptyDepth - 1);
            alpha = SpriteAlpha(p.alpha);
        });
    Cut cut;
    cut.empty = frameCut.empty;
    cut.frame = std::move(frameCut.frame);
    cut.left = image.left + frameCut.x0;
    cut.bottom = image.top + frameCut.y1 + 1;
    cut.frame.info.paletteId = paletteId;
    return cut;
}

} // namespace

uint8_t SpriteAlpha(uint8_t coverage)
{
    const int level = (coverage * kAlphaLevels + 127) / 255;
    if (level >= kAlphaLevels)
        return kOpaqueAlpha;
    return static_cast<uint8_t>(level << spr2_layout::kAlphaShift);
}

ObjectSprites MakeObjectSprites(const std::array<BakedImage, kGameImages>& images, const TileFootprint& footprint,
                                const SpriteOptions& options)
{
    ObjectSprites result;
    PaletteQuantiser quantiser;
    for (const BakedImage& image : images)
        for (const BakedPixel& p : image.pixels)
            if (SpriteAlpha(p.alpha) != 0)
                quantiser.Add({p.red, p.green, p.blue}, p.alpha / 255.0f);
    quantiser.Build(static_cast<int>(Palette::kSize) - 1);
    const std::vector<Rgb>& colours = quantiser.Colours();
    result.coloursUsed = static_cast<int>(colours.size());
    for (size_t k = 0; k < colours.size(); ++k)
        result.palette[PaletteIndexOf(static_cast<int>(k))] = colours[k];
    result.palette[kBakedTransparentIndex] = kBakedTransparentColour;

    std::vector<std::vector<uint8_t>> indices(images.size());
    double squaredError = 0;
    uint64_t samples = 0;
    for (size_t i = 0; i < images.size(); ++i) {
        const BakedImage& image = images[i];
        if (!colours.empty())
            indices[i] = IndexImage(image, quantiser, options.dither);
        for (size_t p = 0; p < image.pixels.size(); ++p) {
            const BakedPixel& pixel = image.pixels[p];
            if (SpriteAlpha(pixel.alpha) == 0)
                continue;
            const Rgb got = result.palette[indices[i][p]];
            const double dr = got.red - pixel.red, dg = got.green - pixel.green, db = got.blue - pixel.blue;
            squaredError += dr * dr + dg * dg + db * db;
            samples += 3;
        }
    }
    result.psnr = squaredError == 0 ? std::numeric_limits<double>::infinity()
                                    : 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(samples) / squaredError);

    for (size_t t = 0; t < footprint.Count(); ++t) {
        const TileSpot spot = footprint.Tile(t);
        TileSprites tile;
        tile.frames.resize(kGameImages);
        tile.images.resize(kGameImages);
        for (int index = 0; index < kGameImages; ++index) {
            const GameImage which = GameImage::FromIndex(index);
            const BakedImage& image = images[static_cast<size_t>(index)];
            Cut cut = CutFrame(image, indices[static_cast<size_t>(index)], t, options.paletteId);
            const TilePlacement c = TilePlacementOf(which.direction).Shifted(which.zoomShift);
            const int anchorLeft = c.leftX * spot.x + c.leftY * spot.y;
            const int anchorBottom = c.bottomX * spot.x + c.bottomY * spot.y;
            DrawGroupImage& drawn = tile.images[static_cast<size_t>(index)];
            drawn.direction = which.DrawGroupDirection();
            drawn.zoom = which.DrawGroupZoom();
            if (!cut.empty) {
                DrawGroupSprite reference;
                reference.spriteId = options.spriteIds.at(t);
                reference.value1 = which.SpriteFrame();
                reference.value2 = cut.left - anchorLeft;
                reference.value3 = cut.bottom - anchorBottom;
                drawn.sprites.push_back(reference);
            }
            PlaceInTileCanvas(cut.frame.info, cut.left - anchorLeft, cut.bottom - anchorBottom,
                              cut.frame.colour.Height(), which.zoomShift);
            tile.frames[static_cast<size_t>(which.SpriteFrame())] = std::move(cut.frame);
        }
        result.tiles.push_back(std::move(tile));
    }
    return result;
}

} // namespace zelvane
