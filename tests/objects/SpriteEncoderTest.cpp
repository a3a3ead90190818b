// Sprite encoders: what they write decodes to the planes they were given.

#include "objects/SpriteDecoder.h"
#include "objects/SpriteEncoder.h"
#include "tests/objects/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

// A 'SPR2' frame read straight from the bytes, apart from the decoder: the
// commands in the order met and the planes they fill.
struct RawFrame {
    int width = 0;
    int height = 0;
    std::multiset<int> commands;
    std::vector<uint8_t> colour, depth, alpha; // rows top first
};

RawFrame ReadRawSpr2Frame(std::span<const uint8_t> sprite, size_t index)
{
    auto u16 = [&](size_t at) { return static_cast<int>(sprite[at] | sprite[at + 1] << 8); };
    auto u32 = [&](size_t at) { return static_cast<size_t>(u16(at) | u16(at + 2) << 16); };
    const size_t start = u32(12 + 4 * index);
    RawFrame f;
    f.width = u16(start);
    f.height = u16(start + 2);
    const auto pixels = static_cast<size_t>(f.width * f.height);
    f.colour.assign(pixels, static_cast<uint8_t>(u16(start + 10)));
    f.depth.assign(pixels, 0xFF);
    f.alpha.assign(pixels, 0);
    size_t at = start + 16;
    int y = -1;
    while (at + 2 <= sprite.size()) {
        const int command = u16(at) >> 13, count = u16(at) & 0x1FFF;
        f.commands.insert(command);
        if (command == 5)
            break;
        if (command == 4) {
            y += count;
            at += 2;
            continue;
        }
        EXPECT_EQ(command, 0) << "at byte " << at;
        ++y;
        const size_t rowEnd = at + static_cast<size_t>(count);
        at += 2;
        for (int x = 0; at < rowEnd;) {
            const int pixelCommand = u16(at) >> 13, run = u16(at) & 0x1FFF;
            f.commands.insert(pixelCommand);
            at += 2;
            if (pixelCommand == 3) {
                x += run;
                continue;
            }
            for (int i = 0; i < run; ++i, ++x) {
                const size_t p = static_cast<size_t>(y * f.width + x);
                if (pixelCommand == 6) {
                    f.colour[p] = sprite[at++];
                    f.depth[p] = 0x80;
                    f.alpha[p] = 0xFF;
                    continue;
                }
                f.depth[p] = sprite[at++];
                f.colour[p] = sprite[at++];
                f.alpha[p] = pixelCommand == 1 ? 0xFF : static_cast<uint8_t>(sprite[at++] * 8);
            }
            at += (at - start) % 2;
        }
        EXPECT_EQ(at, rowEnd) << "row " << y;
    }
    return f;
}

std::vector<uint8_t> Plane(const PlainImage& image)
{
    std::vector<uint8_t> rows;
    for (int y = 0; y < image.Height(); ++y)
        rows.insert(rows.end(), image.Row(y).begin(), image.Row(y).end());
    return rows;
}

} // namespace

TEST(SpriteEncoder, FramesWithDepthCarryItOnEveryPixelAndFramesWithoutUseColourOnlyPixels)
{
    // Depth 0x80 is what a colour-only pixel gets; a frame with a depth
    // plane must still store it, as the game reads it from the frame's flags.
    SpriteFrame withDepth = SolidFrame(40, 5, 2, 0xFF, 0);
    withDepth.transparentIndex = 2;
    for (int y = 0; y < 5; ++y)
        for (int x = 3; x < 37; ++x)
            Set(withDepth, x, y, static_cast<uint8_t>(10 + x), y == 2 || x % 4 == 0 ? 0x80 : 0x70 + x,
                x == 3 ? 0x40 : 0xFF);
    SpriteFrame colourOnly = SolidFrame(6, 2, 9);
    colourOnly.depth = {};
    colourOnly.alpha = {};
    const EncodedSprite sprite = EncodeSpr2(std::vector<SpriteFrame>{withDepth, colourOnly}, 0);
    ASSERT_TRUE(sprite.ok()) << sprite.error;

    const RawFrame first = ReadRawSpr2Frame(sprite.bytes, 0);
    EXPECT_EQ(first.commands.count(6), 0u);
    EXPECT_GT(first.commands.count(1), 0u);
    EXPECT_GT(first.commands.count(2), 0u);
    EXPECT_EQ(first.colour, Plane(withDepth.colour));
    EXPECT_EQ(first.depth, Plane(withDepth.depth));
    EXPECT_EQ(first.alpha, Plane(withDepth.alpha));

    const RawFrame second = ReadRawSpr2Frame(sprite.bytes, 1);
    EXPECT_GT(second.commands.count(6), 0u);
    EXPECT_EQ(second.commands.count(1) + second.commands.count(2), 0u);
    EXPECT_EQ(second.colour, Plane(colourOnly.colour));
}

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
