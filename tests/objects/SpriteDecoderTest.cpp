// Sprite frames: both command tables, the clipping rules for damaged frames,
// frame headers ('SPR2' versions 1000 and 1001), colour counts and
// LoadSprite's palettes.

#include "objects/SpriteDecoder.h"
#include "tests/objects/SpriteFixtures.h"
#include "tools/FramedSprite.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace zelvane;
using namespace zelvane::test;

namespace {

constexpr uint8_t kT = 9; // the transparent index
using Px = std::tuple<int, int, int>; // colour, depth, alpha
const Px kEmpty{kT, 0xFF, 0};

SpriteFrame Decode(SpriteFormat format, const Bytes& resource, int32_t index = 0)
{
    SpriteFrame f;
    f.status = ReadSpriteFrameInfo(format, resource, index, f.info);
    f.transparentIndex = kT;
    if (f.status.ok())
        f.status = DecodeSpriteFrame(resource, kSpriteAllPlanes, f);
    return f;
}

SpriteFrame Spr2(const Bytes& commands, uint16_t width = 4, uint16_t height = 4)
{
    return Decode(SpriteFormat::Spr2, SpriteResource(1000, 0, {Spr2Frame(width, height, commands)}));
}

SpriteFrame Spr(const Bytes& commands, int16_t width = 4, int16_t height = 4)
{
    return Decode(SpriteFormat::Spr, SpriteResource(505, 0, {SprFrame(width, height, commands)}));
}

Px At(const SpriteFrame& f, int x, int y)
{
    return {f.colour.PixelByte(x, y), f.depth.PixelByte(x, y), f.alpha.PixelByte(x, y)};
}

} // namespace

TEST(SpriteCommands, BothTablesDecodeRowsRunsSkipsAndPadding)
{
    const SpriteFrame spr = Spr({4, 0, 2, 3, 0x33, 0,                     // row 0: 3 pixels of 0x33, padding byte
                                 9, 1,                                    // skip row 1
                                 4, 0, 1, 1, 3, 3, 0x41, 0x42, 0x43, 0, // row 2: skip 1, 3 literals, padding
                                 5, 0});
    ASSERT_TRUE(spr.status.ok()) << spr.status.message;
    EXPECT_EQ(At(spr, 2, 0), Px(0x33, 0x80, 0xFF));
    EXPECT_EQ(At(spr, 3, 0), kEmpty);
    EXPECT_EQ(At(spr, 3, 1), kEmpty);
    EXPECT_EQ(At(spr, 0, 2), kEmpty);
    EXPECT_EQ(At(spr, 1, 2), Px(0x41, 0x80, 0xFF));
    EXPECT_EQ(At(spr, 3, 2), Px(0x43, 0x80, 0xFF));
    EXPECT_EQ(At(spr, 0, 3), kEmpty);
    EXPECT_EQ(spr.info.originX, 5);
    EXPECT_EQ(spr.info.originY, -3);

    const SpriteFrame spr2 = Spr2(Join({Words({0x0000, 0x2002}), {0xA1, 0x11, 0xA2, 0x12}, // depth, colour pairs
                                        Words({0x6001, 0xC001}), {0x13, 0},               // skip 1, a colour, pad
                                        Words({0x8001, 0x0000, 0x4001}), {0xA3, 0x14, 16, 0}, // row 2: alpha 16 × 8
                                        Words({0xA000})}));
    ASSERT_TRUE(spr2.status.ok()) << spr2.status.message;
    EXPECT_EQ(At(spr2, 0, 0), Px(0x11, 0xA1, 0xFF));
    EXPECT_EQ(At(spr2, 1, 0), Px(0x12, 0xA2, 0xFF));
    EXPECT_EQ(At(spr2, 2, 0), kEmpty);
    EXPECT_EQ(At(spr2, 3, 0), Px(0x13, 0x80, 0xFF));
    EXPECT_EQ(At(spr2, 0, 1), kEmpty);
    EXPECT_EQ(At(spr2, 0, 2), Px(0x14, 0xA3, 128));
    EXPECT_EQ(At(spr2, 1, 2), kEmpty);

    const SpriteFrame bad = Spr2(Words({0x0000, 0xE001, 0xA000}));
    EXPECT_EQ(bad.status.error, SpriteError::BadToken);
    EXPECT_NE(bad.status.message.find("bad token 0xE001 at byte 34"), std::string::npos) << bad.status.message;
    EXPECT_TRUE(bad.colour.IsNull() && bad.depth.IsNull() && bad.alpha.IsNull());
    EXPECT_EQ(Spr({4, 0, 6, 1, 5, 0}).status.error, SpriteError::BadToken);
}

// Runs past the right edge and rows past the bottom are clipped and the
// frame still decodes; data that ends early is Truncated.
TEST(SpriteClipping, WritesStopAtTheFramesEdge)
{
    const SpriteFrame wide = Spr2(Join({Words({0x0000, 0xC005}), {1, 2, 3, 4, 5, 0}, Words({0x2001}), {0x90, 6},
                                        Words({0xA000})}),
                                  2, 2);
    ASSERT_TRUE(wide.status.ok()) << wide.status.message;
    EXPECT_EQ(At(wide, 1, 0), Px(2, 0x80, 0xFF));
    EXPECT_EQ(At(wide, 0, 1), kEmpty); // nothing wrapped into the next row

    const SpriteFrame tall = Spr2(Join({Words({0xC001}), {7, 0},         // before any row
                                        Words({0x0000, 0xC001}), {1, 0}, // row 0
                                        Words({0x0000, 0xC001}), {2, 0}, // row 1: below the frame
                                        Words({0x9FFF, 0x0000, 0xC001}), {3, 0}, Words({0xA000})}),
                                  2, 1);
    ASSERT_TRUE(tall.status.ok()) << tall.status.message;
    EXPECT_EQ(At(tall, 0, 0), Px(1, 0x80, 0xFF));
    EXPECT_EQ(At(tall, 1, 0), kEmpty);

    const SpriteFrame sprWide = Spr({4, 0, 2, 200, 8, 0, 4, 0, 3, 1, 9, 0, 5, 0}, 2, 1);
    ASSERT_TRUE(sprWide.status.ok()) << sprWide.status.message;
    EXPECT_EQ(At(sprWide, 1, 0), Px(8, 0x80, 0xFF));

    const SpriteFrame runPastData = Spr2(Join({Words({0x0000, 0x40FF}), {1, 2, 3}}));
    EXPECT_EQ(runPastData.status.error, SpriteError::Truncated);
    EXPECT_TRUE(runPastData.colour.IsNull());
    EXPECT_EQ(Spr({4, 0, 1, 1}).status.error, SpriteError::Truncated);
}

TEST(SpriteHeader, FrameChoiceSizesVersionsByteOrderAndLimits)
{
    const Bytes end = Words({0xA000});
    const Bytes three = SpriteResource(1000, 0, {Spr2Frame(3, 1, end), Spr2Frame(4, 1, end), Spr2Frame(5, 1, end)});
    EXPECT_EQ(Decode(SpriteFormat::Spr2, three, 1).colour.Width(), 4);
    for (int32_t index : {3, 5, -1})
        EXPECT_EQ(Decode(SpriteFormat::Spr2, three, index).colour.Width(), 3);
    const SpriteFrame zero = Decode(SpriteFormat::Spr2, SpriteResource(1000, 0, {Spr2Frame(0, 7, end)}));
    EXPECT_EQ(zero.colour.Width() * zero.colour.Height(), 1);

    EXPECT_EQ(Decode(SpriteFormat::Spr2, SpriteResource(1002, 0, {Spr2Frame(3, 1, end)})).status.error,
              SpriteError::UnsupportedVersion);
    EXPECT_EQ(Decode(SpriteFormat::Spr2, SpriteResource(1000, 0, {})).status.error, SpriteError::BadHeader);
    Bytes lying = three;
    lying[4] = 200; // more frames than offsets
    EXPECT_EQ(Decode(SpriteFormat::Spr2, lying).status.error, SpriteError::BadHeader);
    lying = three;
    lying[12] = 0xF0; // frame 0 beyond the data
    EXPECT_EQ(Decode(SpriteFormat::Spr2, lying).status.error, SpriteError::BadFrame);
    EXPECT_EQ(Spr({5, 0}, -2, 1).status.error, SpriteError::BadFrame);
    const SpriteFrame huge = Decode(SpriteFormat::Spr2, SpriteResource(1000, 0, {Spr2Frame(60000, 60000, end)}));
    EXPECT_EQ(huge.status.error, SpriteError::TooLarge);
    EXPECT_TRUE(huge.colour.IsNull());

    Bytes swapped = SprFrame(3, 2, {4, 0, 2, 2, 0x21, 0, 5, 0});
    for (size_t i = 0; i < 8; i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    const SpriteFrame big = Decode(SpriteFormat::Spr, SpriteResource(505, 0, {swapped}, true));
    ASSERT_TRUE(big.status.ok()) << big.status.message;
    EXPECT_EQ(big.info.originY, -3);
    EXPECT_EQ(At(big, 1, 0), Px(0x21, 0x80, 0xFF));
    EXPECT_EQ(At(big, 2, 0), kEmpty);
}

TEST(SpriteColours, CountColoursCountsDrawnPixelsOnly)
{
    const Bytes good = SpriteResource(1000, 0, {Spr2Frame(4, 4, Join({Words({0x0000, 0xC006}), {5, 5, 6, 5, 5, 5},
                                                                       Words({0x0000, 0x2001}), {0x80, 6},
                                                                       Words({0xA000})}))});
    SpriteFrameInfo info;
    ASSERT_TRUE(ReadSpriteFrameInfo(SpriteFormat::Spr2, good, 0, info).ok());
    ColourCounts counts{};
    counts[5] = 10;
    ASSERT_TRUE(CountColours(good, info, counts).ok());
    EXPECT_EQ(counts[5], 13u); // 2 of the 6 are past the edge
    EXPECT_EQ(counts[6], 2u);

    const Bytes bad = SpriteResource(1000, 0, {Spr2Frame(4, 4, Join({Words({0x0000, 0xC001}), {5, 0}, Words({0xE000})}))});
    ASSERT_TRUE(ReadSpriteFrameInfo(SpriteFormat::Spr2, bad, 0, info).ok());
    EXPECT_EQ(CountColours(bad, info, counts).error, SpriteError::BadToken);
    EXPECT_EQ(counts[5], 13u);
}

TEST(LoadSprite, PalettesTransparentIndexAndChoiceOfResource)
{
    Palette palette;
    palette[7] = {10, 200, 30};
    palette[0x11] = {1, 2, 3};
    Bytes damaged = palette.Encode();
    damaged[5] = 0x02; // 512 entries
    const Bytes row = Join({Words({0x0000, 0xC001}), {0x11, 0}, Words({0xA000})});
    FixtureFile fixture;
    fixture.Add(kTypePALT, 40, palette.Encode());
    fixture.Add(kTypePALT, 41, damaged);
    fixture.Add(kTypeSPR2, 100, SpriteResource(1000, 40, {Spr2Frame(2, 1, row), Spr2Frame(2, 1, row, 41)}));
    fixture.Add(kTypeSPR2, 102, SpriteResource(1000, 40, {Spr2Frame(9, 9, row)}));
    fixture.Add(kTypeSPR, 102, SpriteResource(505, 40, {SprFrame(3, 1, {4, 0, 5, 0})}));
    CTGIffFile& file = fixture.Open();

    SpriteRequest request;
    request.keyColour = {12, 198, 33};
    SpriteFrame f;
    EXPECT_EQ(LoadSprite(file, 100, 0, request, f), 15u);
    EXPECT_EQ(*f.palette, palette);
    EXPECT_EQ(f.colour.PixelColour(0, 0), palette[0x11]);
    EXPECT_EQ(f.colour.PixelByte(1, 0), 7); // the entry nearest to the key colour

    request.transparentIndex = 0x42;
    request.planes = kSpriteDepthPlane;
    EXPECT_EQ(LoadSprite(file, 100, 1, request, f), 1u | kSpriteDepthPlane);
    EXPECT_EQ(f.info.paletteId, 41); // the frame's own, damaged: the default palette
    EXPECT_EQ(f.palette, Palette::Default());
    EXPECT_EQ(f.transparentIndex, 0x42);

    LoadSprite(file, 102, 0, request, f);
    EXPECT_EQ(f.info.format, SpriteFormat::Spr); // 'SPR#' before 'SPR2'
    EXPECT_EQ(LoadSprite(file, 555, 0, request, f), 1u);
    EXPECT_EQ(f.status.error, SpriteError::Missing);
    EXPECT_EQ(f.info.width, 0);
}

namespace {

// Row 0 of a 4 x 2 frame: two pixels of `colour` with their own depth.
Bytes TwoPixels(uint8_t colour)
{
    return Join({Words({0x0000, 0x2002}), {0x40, colour, 0x41, colour}, Words({0xA000})});
}

std::vector<Bytes> ThreeFrames()
{
    return {Spr2Frame(4, 2, TwoPixels(1)), Spr2Frame(5, 2, TwoPixels(2)), Spr2Frame(6, 2, TwoPixels(3))};
}

} // namespace

// Version 1001 holds the frames of version 1000 behind their sizes: the same
// frames decode to the same planes, found by walking the sizes.
TEST(SpriteVersion1001, FramesDecodeAsInVersion1000)
{
    const Bytes framed = FramedSpr2(40, ThreeFrames());
    const Bytes plain = SpriteResource(1000, 40, ThreeFrames());
    for (int32_t index : {0, 1, 2, 3, -1}) {
        SCOPED_TRACE(index);
        const SpriteFrame a = Decode(SpriteFormat::Spr2, framed, index);
        const SpriteFrame b = Decode(SpriteFormat::Spr2, plain, index);
        ASSERT_TRUE(a.status.ok()) << a.status.message;
        EXPECT_EQ(a.info.version, 1001u);
        EXPECT_EQ(a.info.frameCount, 3u);
        EXPECT_EQ(a.info.frameIndex, b.info.frameIndex);
        EXPECT_EQ(a.info.paletteId, 40);
        EXPECT_EQ(a.info.originX, 5);
        EXPECT_EQ(a.info.originY, -3);
        EXPECT_TRUE(std::ranges::equal(a.colour.Bits(), b.colour.Bits()) &&
                    std::ranges::equal(a.depth.Bits(), b.depth.Bits()) &&
                    std::ranges::equal(a.alpha.Bits(), b.alpha.Bits()));
    }
    EXPECT_EQ(At(Decode(SpriteFormat::Spr2, framed, 2), 1, 0), Px(3, 0x41, 0xFF));
    EXPECT_EQ(Spr2AsVersion1001(plain), framed);

    // 0 and 0xA3A3 name the sprite's palette in version 1001; 0 is a palette of its own in 1000.
    const Bytes end = Words({0xA000});
    const std::vector<Bytes> ownPalettes = {Spr2Frame(1, 1, end, 0), Spr2Frame(1, 1, end, static_cast<int16_t>(0xA3A3)),
                                            Spr2Frame(1, 1, end, 7), Spr2Frame(1, 1, end, -1)};
    const Bytes palettes = FramedSpr2(40, ownPalettes);
    EXPECT_EQ(Decode(SpriteFormat::Spr2, palettes, 0).info.paletteId, 40);
    EXPECT_EQ(Decode(SpriteFormat::Spr2, palettes, 1).info.paletteId, 40);
    EXPECT_EQ(Decode(SpriteFormat::Spr2, palettes, 2).info.paletteId, 7);
    EXPECT_EQ(Decode(SpriteFormat::Spr2, palettes, 3).info.paletteId, 40);
    EXPECT_EQ(Decode(SpriteFormat::Spr2, SpriteResource(1000, 40, {Spr2Frame(1, 1, end, 0)})).info.paletteId, 0);
}

// A damaged frame fails alone, with a note that says where; the frames
// before it decode, and only sizes that cannot be passed hide later frames.
TEST(SpriteVersion1001, DamagedFramesFailAloneAndSayWhy)
{
    const auto error = [](const Bytes& resource, int32_t index) {
        return Decode(SpriteFormat::Spr2, resource, index).status;
    };
    const auto patchU32 = [](Bytes bytes, size_t at, uint32_t value) {
        for (size_t i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        return bytes;
    };
    const Bytes good = FramedSpr2(0, ThreeFrames());
    const size_t frame0 = 12, size0 = 16 + 10; // header and commands of frame 0
    const size_t frame1 = frame0 + 8 + size0;

    // Frame 1's size runs past the data: frame 0 decodes, 1 and 2 fail.
    const Bytes pastEnd = patchU32(good, frame1 + 4, 5000);
    EXPECT_TRUE(error(pastEnd, 0).ok());
    EXPECT_EQ(error(pastEnd, 1).error, SpriteError::BadFrame);
    EXPECT_NE(error(pastEnd, 1).message.find("frame 1: its size at byte 46 runs past"), std::string::npos)
        << error(pastEnd, 1).message;
    EXPECT_NE(error(pastEnd, 2).message.find("frame 2: cannot be reached, as frame 1 at byte 46"), std::string::npos)
        << error(pastEnd, 2).message;

    // Frame 0 two bytes longer than its commands: they end early. Two bytes
    // shorter: its end command lies past its size. Frame 1 is found either way.
    const Bytes endsEarly = patchU32(Join({Bytes(good.begin(), good.begin() + frame1), Words({0}),
                                           Bytes(good.begin() + frame1, good.end())}),
                                     frame0 + 4, size0 + 2);
    EXPECT_EQ(error(endsEarly, 0).error, SpriteError::BadFrame);
    EXPECT_NE(error(endsEarly, 0).message.find("end at byte 46, 2 bytes before its size does"), std::string::npos)
        << error(endsEarly, 0).message;
    EXPECT_TRUE(error(endsEarly, 1).ok());
    Bytes runsPast = patchU32(good, frame0 + 4, size0 - 2);
    runsPast.erase(runsPast.begin() + static_cast<std::ptrdiff_t>(frame1 - 2), runsPast.begin() + frame1);
    EXPECT_EQ(error(runsPast, 0).error, SpriteError::Truncated);
    EXPECT_TRUE(error(runsPast, 1).ok());

    // Counts the data cannot hold, sizes too small for a header, a cut header.
    EXPECT_EQ(error(patchU32(good, 8, 60000), 0).error, SpriteError::BadHeader);
    EXPECT_EQ(error(patchU32(good, 8, 0), 0).error, SpriteError::BadHeader);
    EXPECT_EQ(error(Bytes(good.begin(), good.begin() + 10), 0).error, SpriteError::BadHeader);
    EXPECT_EQ(error(patchU32(good, frame0 + 4, 10), 0).error, SpriteError::BadFrame);

    // Counting agrees with decoding.
    SpriteFrameInfo info;
    ASSERT_TRUE(ReadSpriteFrameInfo(SpriteFormat::Spr2, endsEarly, 1, info).ok());
    ColourCounts counts{};
    EXPECT_TRUE(CountColours(endsEarly, info, counts).ok());
    EXPECT_EQ(counts[2], 2u);
    ASSERT_TRUE(ReadSpriteFrameInfo(SpriteFormat::Spr2, endsEarly, 0, info).ok());
    EXPECT_EQ(CountColours(endsEarly, info, counts).error, SpriteError::BadFrame);
    EXPECT_EQ(counts[1], 0u);
}
