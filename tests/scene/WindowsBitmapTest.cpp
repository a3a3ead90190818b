// Our Windows bitmap reader: every variant textures come in, and hostile files
// refused with a reason before anything large is allocated.

#include "scene/WindowsBitmap.h"
#include "tools/ImageFileBuilder.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {


DecodedImage Decode(const BitmapSpec& spec)
{
    return DecodeWindowsBitmap(BitmapFile(spec));
}

Rgb Pixel(const DecodedImage& decoded, int x, int y)
{
    return decoded.image.PixelColour(x, y);
}

void ExpectRefused(const BitmapSpec& spec, const std::string& reason)
{
    const DecodedImage decoded = Decode(spec);
    EXPECT_FALSE(decoded.ok());
    EXPECT_NE(decoded.error.find(reason), std::string::npos) << decoded.error;
    EXPECT_TRUE(decoded.image.IsNull());
}

TEST(WindowsBitmap, ReadsTrueColourRowsBottomUpOrTopDown)
{
    // 3 × 2 pixels, 24 bits: 9 bytes a row padded to 12; the bottom row first.
    BitmapSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.pixels = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0, 0, 0,  // red green blue (bottom)
                   0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0xFF, 0xFF, 0xFF, 0, 0, 0}; // top
    DecodedImage decoded = Decode(spec);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.BytesPerPixel(), 3);
    EXPECT_EQ(Pixel(decoded, 0, 1), Rgb::FromHex(0xFF0000));
    EXPECT_EQ(Pixel(decoded, 2, 1), Rgb::FromHex(0x0000FF));
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0x302010));

    spec.height = -2; // the same bytes, now the top row first
    decoded = Decode(spec);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0xFF0000));
    EXPECT_EQ(Pixel(decoded, 1, 1), Rgb::FromHex(0x605040));

    // The last row may come without its padding.
    spec.pixels.resize(spec.pixels.size() - 3);
    EXPECT_TRUE(Decode(spec).ok());
}

TEST(WindowsBitmap, ReadsIndexedPixelsThroughTheColourTable)
{
    BitmapSpec one;
    one.width = 10;
    one.height = 1;
    one.bitCount = 1;
    one.palette = {0x000000, 0xFFFFFF};
    one.pixels = {0b10110000, 0b01000000, 0, 0};
    DecodedImage decoded = Decode(one);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.BytesPerPixel(), 1);
    const std::vector<std::uint8_t> bits(decoded.image.Row(0).begin(), decoded.image.Row(0).end());
    EXPECT_EQ(bits, (std::vector<std::uint8_t>{1, 0, 1, 1, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0xFFFFFF));

    // 4 bits with a short table: indices past it are black.
    BitmapSpec four;
    four.width = 3;
    four.height = 1;
    four.bitCount = 4;
    four.coloursUsed = 2;
    four.palette = {0x112233, 0x445566};
    four.pixels = {0x10, 0xF0, 0, 0};
    decoded = Decode(four);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0x445566));
    EXPECT_EQ(Pixel(decoded, 1, 0), Rgb::FromHex(0x112233));
    EXPECT_EQ(Pixel(decoded, 2, 0), Rgb::FromHex(0x000000));

    // The core header: 16-bit sizes and a table of 3-byte entries.
    BitmapSpec core;
    core.headerSize = 12;
    core.width = 2;
    core.height = 1;
    core.bitCount = 8;
    core.palette.assign(256, 0);
    core.palette[7] = 0xABCDEF;
    core.pixels = {7, 0, 0, 0};
    decoded = Decode(core);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0xABCDEF));
}

TEST(WindowsBitmap, ReadsSixteenAndThirtyTwoBitPixelsPlainOrWithBitFields)
{
    BitmapSpec plain16;
    plain16.width = 2;
    plain16.height = 1;
    plain16.bitCount = 16;
    plain16.pixels = {0x00, 0x7C, 0x1F, 0x00}; // 5-5-5: pure red, pure blue
    DecodedImage decoded = Decode(plain16);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0xFF0000));
    EXPECT_EQ(Pixel(decoded, 1, 0), Rgb::FromHex(0x0000FF));

    BitmapSpec fields565 = plain16;
    fields565.compression = 3;
    fields565.masks = {0xF800, 0x07E0, 0x001F};
    fields565.pixels = {0xE0, 0x07, 0x10, 0x84}; // pure green; (16, 32, 16) of (31, 63, 31)
    decoded = Decode(fields565);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0x00FF00));
    EXPECT_EQ(Pixel(decoded, 1, 0), (Rgb{132, 130, 132}));

    BitmapSpec plain32;
    plain32.width = 1;
    plain32.height = 1;
    plain32.bitCount = 32;
    plain32.pixels = {0x33, 0x22, 0x11, 0x80}; // blue, green, red, and a fourth byte that is dropped
    decoded = Decode(plain32);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.BytesPerPixel(), 3);
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0x112233));

    // A V5 header carries its masks inside: here red and blue change places.
    BitmapSpec v5 = plain32;
    v5.headerSize = 124;
    v5.compression = 3;
    v5.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    decoded = Decode(v5);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(Pixel(decoded, 0, 0), Rgb::FromHex(0x332211));
}

TEST(WindowsBitmap, RunsLengthEncodedPixelsWithRowEndsMovesAndLiterals)
{
    BitmapSpec rle8;
    rle8.width = 6;
    rle8.height = 3;
    rle8.bitCount = 8;
    rle8.compression = 1;
    rle8.coloursUsed = 5;
    rle8.palette = {0x000000, 0x111111, 0x222222, 0x333333, 0x444444};
    rle8.pixels = {
        3, 1,             // bottom row: three of 1
        0, 3, 2, 3, 4, 0, // a literal of three (2, 3, 4), padded to an even length
        0, 0,             // end of row
        0, 2, 2, 1,       // move 2 right and 1 up: row 2 (the top), column 2
        9, 4,             // nine of 4: clipped at the row's end
        0, 1,             // end of picture
    };
    DecodedImage decoded = Decode(rle8);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    auto row = [&](int y) {
        return std::vector<std::uint8_t>(decoded.image.Row(y).begin(), decoded.image.Row(y).end());
    };
    EXPECT_EQ(row(2), (std::vector<std::uint8_t>{1, 1, 1, 2, 3, 4}));
    EXPECT_EQ(row(1), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(row(0), (std::vector<std::uint8_t>{0, 0, 4, 4, 4, 4}));

    BitmapSpec rle4 = rle8;
    rle4.width = 5;
    rle4.height = 1;
    rle4.bitCount = 4;
    rle4.compression = 2;
    rle4.pixels = {3, 0x12, 0, 3, 0x34, 0x20, 0, 1}; // 1 2 1, then literal 3 4 2 padded
    decoded = Decode(rle4);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(row(0), (std::vector<std::uint8_t>{1, 2, 1, 3, 4}));

    // Data that ends inside a literal is refused; data that simply stops is the picture.
    BitmapSpec cut = rle8;
    cut.pixels = {3, 1, 0, 5, 2, 3};
    ExpectRefused(cut, "ends inside a run of pixels");
    cut.pixels = {3, 1};
    EXPECT_TRUE(Decode(cut).ok());
}

TEST(WindowsBitmap, RefusesDamagedAndHostileFiles)
{
    BitmapSpec good;
    good.width = 2;
    good.height = 2;
    good.pixels.assign(16, 0x7F);
    ASSERT_TRUE(Decode(good).ok());

    EXPECT_NE(DecodeWindowsBitmap(std::vector<std::uint8_t>{'B', 'M', 0, 0}).error.find("ends inside its header"),
              std::string::npos);
    std::vector<std::uint8_t> notBitmap = BitmapFile(good);
    notBitmap[0] = 'P';
    EXPECT_NE(DecodeWindowsBitmap(notBitmap).error.find("\"BM\""), std::string::npos);

    BitmapSpec spec = good;
    spec.headerSize = 64;
    ExpectRefused(spec, "header size 64");
    spec = good;
    spec.planes = 2;
    ExpectRefused(spec, "2 planes");
    spec = good;
    spec.compression = 1; // run lengths need 8 bits
    ExpectRefused(spec, "not a variant");
    spec = good;
    spec.compression = 4; // embedded JPEG
    ExpectRefused(spec, "not a variant");
    spec = good;
    spec.width = 0;
    ExpectRefused(spec, "0 x 2");
    spec = good;
    spec.width = 100000;
    spec.height = 100000;
    ExpectRefused(spec, "larger than zelvane reads");
    spec = good;
    spec.height = -2;
    spec.bitCount = 8;
    spec.compression = 1;
    ExpectRefused(spec, "top-down");

    spec = good;
    spec.bitCount = 8;
    spec.coloursUsed = 300;
    ExpectRefused(spec, "300 entries");
    spec = good;
    spec.bitCount = 8;
    spec.pixels.clear(); // the table is missing too
    ExpectRefused(spec, "ends inside its colour table");

    spec = good;
    spec.pixels.resize(9);
    ExpectRefused(spec, "cut short");
    // A header that claims a large picture over a few bytes is refused at once.
    spec.width = 30000;
    spec.height = 1000;
    ExpectRefused(spec, "cut short");
    std::vector<std::uint8_t> far = BitmapFile(good);
    far[10] = 0xA0;
    far[11] = 0x86;
    far[12] = 0x01; // the pixels "begin" at 100000
    EXPECT_NE(DecodeWindowsBitmap(far).error.find("past the end"), std::string::npos);
}

TEST(WindowsBitmap, WritesWhatItReads)
{
    PlainImage colour(5, 3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            std::span<std::uint8_t> pixel = colour.Row(y).subspan(static_cast<std::size_t>(x) * 3, 3);
            pixel[0] = static_cast<std::uint8_t>(x * 40);
            pixel[1] = static_cast<std::uint8_t>(y * 80);
            pixel[2] = static_cast<std::uint8_t>(x + y);
        }
    const DecodedImage decoded = DecodeWindowsBitmap(EncodeWindowsBitmap(colour));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(decoded.image.PixelColour(x, y), colour.PixelColour(x, y)) << x << ", " << y;

    // Red-green-blue images are written as bitmaps want them, blue first.
    colour.SetOrder(ChannelOrder::Rgb);
    const DecodedImage swapped = DecodeWindowsBitmap(EncodeWindowsBitmap(colour));
    EXPECT_EQ(swapped.image.PixelColour(4, 2), colour.PixelColour(4, 2));
}

} // namespace
} // namespace zelvane
