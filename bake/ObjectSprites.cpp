#include "bake/ObjectSprites.h"

// Sections: cutting the frames; the sprites.

#include "bake/SpritePalette.h"
#include "objects/SpriteFrameCut.h"
#include "objects/SpriteLayout.h"
#include "objects/TilePlacement.h"

#include <algorithm>

namespace zelvane {

namespace {

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

ObjectSprites MakeObjectSprites(const std::array<BakedImage, kGameImages>& images, const TileFootprint& footprint,
                                const SpriteOptions& options)
{
    ObjectSprites result;
    const SpritePalette chosen = ChooseSpritePalette(images);
    result.palette = chosen.palette;
    result.coloursUsed = chosen.coloursUsed;
    std::vector<std::vector<uint8_t>> indices(images.size());
    for (size_t i = 0; i < images.size(); ++i)
        indices[i] = IndexImage(images[i], chosen, options.dither);
    result.psnr = PalettePsnr(images, indices, result.palette);

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
