// Sprite encoders: what they write decodes to the planes they were given.

#include "objects/SpriteDecoder.h"
#include "objects/SpriteEncoder.h"
#include "tests/objects/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zelvane;
using namespace zelvane::test;

namespace {

SpriteFrame Decoded(SpriteFormat format, const EncodedSprite& sprite, int32_t index, uint8_t transparent)
{
    EXPECT_TRUE(sprite.ok()) << sprite.error;
    SpriteFrame f;
    EXPECT_TRUE(ReadSpriteFrameInfo(format, sprite.bytes, index, f.info).ok());
    f.transparentIndex = transparent;
    EXPECT_TRUE(DecodeSpriteFrame(sprite.bytes, kSpriteAllPlanes, f).ok());
    return f;
}

void ExpectSamePlanes(const SpriteFrame& a, const SpriteFrame& b)
{
    ASSERT_EQ(a.colour.Width(), b.colour.Width());
    ASSERT_EQ(a.colour.Height(), b.colour.Height());
    EXPECT_TRUE(std::ranges::equal(a.colour.Bits(), b.colour.Bits()));
    EXPECT_TRUE(std::ranges::equal(a.depth.Bits(), b.depth.Bits()));
    EXPECT_TRUE(std::ranges::equal(a.alpha.Bits(), b.alpha.Bits()));
}

void Set(SpriteFrame& f, int x, int y, uint8_t colour, uint8_t depth, uint8_t alpha)
{
    f.colour.Row(y)[static_cast<size_t>(x)] = colour;
    f.depth.Row(y)[static_cast<size_t>(x)] = depth;
    f.alpha.Row(y)[static_cast<size_t>(x)] = alpha;
}

} // namespace

TEST(SpriteEncoder, Spr2RoundTripsEveryKindOfPixel)
{
    // Transparent index 3; rows 0, 3 and 6 empty.
    SpriteFrame f = SolidFrame(300, 7, 3, 0xFF, 0);
    f.transparentIndex = 3;
    f.info = {.originX = -40, .originY = 12, .paletteId = 77};
    for (int x = 0; x < 300; ++x) {
        Set(f, x, 1, static_cast<uint8_t>(x / 3), 0x80, 0xFF); // colour only
        if (x % 7 != 0)
            Set(f, x, 4, static_cast<uint8_t>(x), static_cast<uint8_t>(x * 5), 0xFF); // depth and colour
    }
    Set(f, 0, 2, 3, 0x10, 0xFF); // the transparent colour, drawn
    Set(f, 5, 2, 8, 0x20, 0x48); // partly transparent
    Set(f, 6, 2, 3, 0xFF, 0x08); // empty but for alpha
    Set(f, 7, 2, 9, 0xFF, 0);    // invisible but coloured
    SpriteFrame noDepth = SolidFrame(3, 1, 6, 0x50, 100);
    noDepth.alpha.Row(0)[2] = 255;
    noDepth.depth = {};

    const EncodedSprite sprite = EncodeSpr2(std::vector<SpriteFrame>{f, noDepth}, 40);
    const SpriteFrame back = Decoded(SpriteFormat::Spr2, sprite, 0, 3);
    ExpectSamePlanes(f, back);
    EXPECT_EQ(back.info.originX, -40);
    EXPECT_EQ(back.info.originY, 12);
    EXPECT_EQ(back.info.paletteId, 77);
    EXPECT_EQ(back.info.storedTransparentIndex, 3);

    const SpriteFrame second = Decoded(SpriteFormat::Spr2, sprite, 1, 0);
    EXPECT_EQ(second.info.paletteId, 40); // the resource's
    EXPECT_EQ(second.info.flags, 5u);     // colour and alpha
    EXPECT_EQ(second.alpha.PixelByte(0, 0), 96); // 5 bits of alpha
    EXPECT_EQ(second.alpha.PixelByte(2, 0), 255);
    EXPECT_EQ(second.depth.PixelByte(0, 0), 0x80);
}

TEST(SpriteEncoder, SprRoundTripsWhatTheFormatHolds)
{
    // Drawn pixels (depth 0x80, alpha 255) only; runs and skips past a count byte.
    SpriteFrame f = SolidFrame(600, 300, 3, 0xFF, 0);
    f.transparentIndex = 3;
    for (int x = 0; x < 600; ++x) {
        Set(f, x, 0, 12, 0x80, 0xFF);
        Set(f, x, 290, static_cast<uint8_t>(x % 5 == 0 ? 3 : x / 2), 0x80, 0xFF);
    }
    for (int x = 100; x < 103; ++x)
        Set(f, x, 299, 1, 0x80, 0xFF);
    ExpectSamePlanes(f, Decoded(SpriteFormat::Spr, EncodeSpr(std::vector<SpriteFrame>{f}, 12), 0, 3));
}

TEST(SpriteEncoder, RefusesWhatItCannotWrite)
{
    EXPECT_FALSE(EncodeSpr2({}, 0).ok());
    SpriteFrame mismatched = SolidFrame(2, 2, 1);
    mismatched.alpha = PlainImage(3, 2, 1);
    EXPECT_FALSE(EncodeSpr(std::vector<SpriteFrame>{mismatched}, 0).ok());
    SpriteFrame farOrigin = SolidFrame(2, 2, 1);
    farOrigin.info.originX = 40000;
    EXPECT_FALSE(EncodeSpr2(std::vector<SpriteFrame>{farOrigin}, 0).ok());
    // 4000 pixels of depth, colour and alpha: more bytes than a row command counts.
    const EncodedSprite wide = EncodeSpr2(std::vector<SpriteFrame>{SolidFrame(4000, 1, 1, 0x40, 0x80)}, 0);
    EXPECT_NE(wide.error.find("row 0 needs"), std::string::npos) << wide.error;
}
