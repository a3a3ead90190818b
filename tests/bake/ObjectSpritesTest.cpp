// From rendered images to frames: alpha as 'SPR2' keeps it, and dithering
// that touches only drawn pixels, never the transparent index. (Where frames
// are placed is judged by composing real bakes.)

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
