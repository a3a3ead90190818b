// From rendered images to frames and draw group images: alpha as 'SPR2'
// keeps it, each tile's frame cut and placed from its own centre, the
// transparent index left free, and dithering that keeps a region's mean.

#include "bake/ObjectSprites.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zelvane;

namespace {

std::array<BakedImage, kGameImages> EmptyImages()
{
    std::array<BakedImage, kGameImages> images;
    for (int i = 0; i < kGameImages; ++i)
        images[static_cast<size_t>(i)].image = GameImage::FromIndex(i);
    return images;
}

} // namespace

TEST(ObjectSprites, AlphaIsKeptInThe32LevelsSpr2StoresAndFullCoverageIsOpaque)
{
    EXPECT_EQ(SpriteAlpha(0), 0);
    EXPECT_EQ(SpriteAlpha(3), 0);    // below half a level: not drawn
    EXPECT_EQ(SpriteAlpha(4), 8);
    EXPECT_EQ(SpriteAlpha(128), 128);
    EXPECT_EQ(SpriteAlpha(247), 248); // level 31
    EXPECT_EQ(SpriteAlpha(252), 255); // rounds to 32: opaque
    EXPECT_EQ(SpriteAlpha(255), 255);
}

TEST(ObjectSprites, EachTilesFrameIsCutAndPlacedFromItsOwnCentre)
{
    // Image 10 (direction 2, largest zoom): tile (1, 0)'s centre lies 64
    // pixels left of and 32 above tile (0, 0)'s. Four pixels each.
    std::array<BakedImage, kGameImages> images = EmptyImages();
    BakedImage& image = images[10];
    image.left = -70;
    image.top = -40;
    image.Resize(80, 50);
    const Rgb colours[2] = {{200, 30, 30}, {30, 30, 200}};
    for (uint8_t tile = 0; tile < 2; ++tile)
        for (int i = 0; i < 4; ++i) {
            const int x = tile == 0 ? 70 + i % 2 : 6 + i % 2, y = tile == 0 ? 40 + i / 2 : 8 + i / 2;
            image.At(x, y) = {colours[tile].red, colours[tile].green, colours[tile].blue, i == 3 ? uint8_t{128} : uint8_t{255},
                              static_cast<uint8_t>(100 + tile), tile};
        }
    const TileFootprint footprint({{0, 0}, {1, 0}});
    SpriteOptions options;
    options.paletteId = 300;
    options.spriteIds = {200, 201};
    const ObjectSprites sprites = MakeObjectSprites(images, footprint, options);
    EXPECT_EQ(sprites.coloursUsed, 2);
    EXPECT_EQ(sprites.palette[kBakedTransparentIndex], kBakedTransparentColour);
    ASSERT_EQ(sprites.tiles.size(), 2u);
    for (size_t t = 0; t < 2; ++t) {
        const TileSprites& tile = sprites.tiles[t];
        ASSERT_EQ(tile.frames.size(), 12u);
        ASSERT_EQ(tile.images.size(), 12u);
        const DrawGroupImage& drawn = tile.images[10];
        EXPECT_EQ(drawn.direction, 16);
        EXPECT_EQ(drawn.zoom, 3);
        ASSERT_EQ(drawn.sprites.size(), 1u);
        const DrawGroupSprite& reference = drawn.sprites[0];
        EXPECT_EQ(reference.spriteId, options.spriteIds[t]);
        EXPECT_EQ(reference.value1, 2); // the largest zoom's direction 2
        // Both frames start at their tile's centre and reach 2 pixels down.
        EXPECT_EQ(reference.value2, 0) << t;
        EXPECT_EQ(reference.value3, 2) << t;
        const SpriteFrame& frame = tile.frames[2];
        EXPECT_EQ(frame.colour.Width(), 2);
        EXPECT_EQ(frame.colour.Height(), 2);
        EXPECT_EQ(frame.info.originX, 0);
        EXPECT_EQ(frame.info.originY, 0);
        EXPECT_EQ(frame.info.paletteId, 300);
        EXPECT_EQ(frame.transparentIndex, kBakedTransparentIndex);
        EXPECT_EQ(sprites.palette[frame.colour.PixelByte(0, 0)], colours[t]);
        EXPECT_EQ(frame.alpha.PixelByte(1, 1), 128);
        EXPECT_EQ(frame.depth.PixelByte(0, 0), 100 + t);
        // Where a tile shows nothing: an empty frame and no reference.
        EXPECT_TRUE(tile.images[9].sprites.empty());
        EXPECT_EQ(tile.frames[1].alpha.PixelByte(0, 0), 0);
        EXPECT_EQ(tile.frames[1].depth.PixelByte(0, 0), 255);
    }
    EXPECT_TRUE(std::isinf(sprites.psnr));
}

TEST(ObjectSprites, DitheringSpreadsTheErrorOverDrawnPixelsOnly)
{
    // Image 10 holds 64 × 64 pixels of 4096 smoothly shaded colours with a
    // hole in every fifth row; image 8 a hundred pixels each of 240
    // far-apart colours, which take most of the palette.
    std::array<BakedImage, kGameImages> images = EmptyImages();
    BakedImage& field = images[10];
    field.Resize(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (y % 5 != 0 || x % 3 != 0)
                field.At(x, y) = {static_cast<uint8_t>(64 + 2 * x), static_cast<uint8_t>(64 + 2 * y), 128, 255, 200, 0};
    BakedImage& others = images[8];
    others.Resize(240, 100);
    for (int y = 0; y < 100; ++y)
        for (int i = 0; i < 240; ++i)
            others.At(i, y) = {static_cast<uint8_t>((i * 37) % 256), static_cast<uint8_t>((i * 91) % 256),
                               static_cast<uint8_t>(i % 2 ? 255 : 0), 255, 200, 0};
    const TileFootprint footprint({{0, 0}});
    SpriteOptions options;
    options.spriteIds = {200};
    const ObjectSprites nearest = MakeObjectSprites(images, footprint, options);
    options.dither = true;
    const ObjectSprites dithered = MakeObjectSprites(images, footprint, options);
    const SpriteFrame& a = nearest.tiles[0].frames[2];
    const SpriteFrame& b = dithered.tiles[0].frames[2];
    ASSERT_EQ(a.colour.Width(), 64);
    ASSERT_EQ(b.colour.Width(), 64);
    int changed = 0;
    double meanOff[2] = {0, 0};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            if (!field.At(x, y).Drawn()) {
                EXPECT_EQ(b.colour.PixelByte(x, y), kBakedTransparentIndex);
                EXPECT_EQ(b.alpha.PixelByte(x, y), 0);
                continue;
            }
            EXPECT_NE(b.colour.PixelByte(x, y), kBakedTransparentIndex);
            changed += a.colour.PixelByte(x, y) != b.colour.PixelByte(x, y);
            meanOff[0] += nearest.palette[a.colour.PixelByte(x, y)].red - field.At(x, y).red;
            meanOff[1] += dithered.palette[b.colour.PixelByte(x, y)].red - field.At(x, y).red;
        }
    EXPECT_GT(changed, 0);
    // Over the field the colours still average out.
    EXPECT_LE(std::fabs(meanOff[1]) / (64 * 64), std::fabs(meanOff[0]) / (64 * 64) + 0.5);
    EXPECT_GE(dithered.psnr, 30.0);
}
