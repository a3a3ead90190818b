// Our Targa reader: colour-mapped, true-colour and run-length pictures with
// the gamma table, and damaged files refused with a reason.

#include "scene/TargaImage.h"
#include "tools/ImageFileBuilder.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {


const GammaTable kIdentity = MakeGammaTable(1.0);

DecodedImage Decode(const TargaSpec& spec, const GammaTable& gamma = kIdentity)
{
    return DecodeTarga(TargaFile(spec), gamma);
}

// The bytes of pixel (x, y) from the top left.
std::vector<std::uint8_t> Bytes(const DecodedImage& decoded, int x, int y)
{
    const std::size_t size = static_cast<std::size_t>(decoded.image.BytesPerPixel());
    const std::span<const std::uint8_t> pixel = decoded.image.Row(y).subspan(static_cast<std::size_t>(x) * size, size);
    return {pixel.begin(), pixel.end()};
}

void ExpectRefused(const TargaSpec& spec, const std::string& reason)
{
    const DecodedImage decoded = Decode(spec);
    EXPECT_FALSE(decoded.ok());
    EXPECT_NE(decoded.error.find(reason), std::string::npos) << decoded.error;
}

TEST(Targa, TrueColourPixelsBecomeRedGreenBlueWithTheFirstRowAtTheBottom)
{
    TargaSpec spec;
    spec.width = 2;
    spec.height = 2;
    spec.xOrigin = 7; // a screen position, which nothing uses
    spec.id = {'h', 'i'};
    spec.data = {0x03, 0x02, 0x01, 0x06, 0x05, 0x04,  // first stored row: blue, green, red each
                 0x09, 0x08, 0x07, 0x0C, 0x0B, 0x0A}; // second stored row
    DecodedImage decoded = Decode(spec);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.Order(), ChannelOrder::Rgb);
    EXPECT_FALSE(decoded.HasAlpha());
    EXPECT_EQ(Bytes(decoded, 0, 1), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(Bytes(decoded, 1, 0), (std::vector<std::uint8_t>{10, 11, 12}));

    // 32 bits carry alpha, which the gamma table leaves alone.
    spec.pixelDepth = 32;
    spec.width = 1;
    spec.height = 1;
    spec.data = {64, 128, 255, 128};
    decoded = Decode(spec, MakeGammaTable(2.0));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_TRUE(decoded.HasAlpha());
    EXPECT_EQ(Bytes(decoded, 0, 0), (std::vector<std::uint8_t>{255, 65, 16, 128}));
}

TEST(Targa, OriginBitsPutTheFirstStoredPixelWhereTheyLie)
{
    TargaSpec spec;
    spec.width = 2;
    spec.height = 2;
    spec.descriptor = 0x20; // top row first
    spec.data = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
    DecodedImage decoded = Decode(spec);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(Bytes(decoded, 0, 0), (std::vector<std::uint8_t>{1, 1, 1}));
    EXPECT_EQ(Bytes(decoded, 1, 1), (std::vector<std::uint8_t>{4, 4, 4}));

    spec.descriptor = 0x30; // and right to left
    decoded = Decode(spec);
    EXPECT_EQ(Bytes(decoded, 1, 0), (std::vector<std::uint8_t>{1, 1, 1}));
}

TEST(Targa, RunLengthPacketsRunOnAcrossRowsAndStopAtThePicturesEnd)
{
    TargaSpec spec;
    spec.imageType = 10;
    spec.width = 3;
    spec.height = 2;
    spec.data = {
        0x83, 0, 0, 200,            // four red pixels: the bottom row and one of the top
        0x01, 0, 200, 0, 200, 0, 0, // two stored: green, blue
        0x85, 9, 9, 9,              // six more grey, past the picture: ignored
    };
    const DecodedImage decoded = Decode(spec);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(Bytes(decoded, 2, 1), (std::vector<std::uint8_t>{200, 0, 0}));
    EXPECT_EQ(Bytes(decoded, 0, 0), (std::vector<std::uint8_t>{200, 0, 0}));
    EXPECT_EQ(Bytes(decoded, 1, 0), (std::vector<std::uint8_t>{0, 200, 0}));
    EXPECT_EQ(Bytes(decoded, 2, 0), (std::vector<std::uint8_t>{0, 0, 200}));

    TargaSpec cut = spec;
    cut.data.resize(8); // inside the stored packet
    ExpectRefused(cut, "ends at pixel 5 of 6");
    // Run lengths could hold at most 128 pixels per four bytes: refused before allocating.
    cut.width = 60000;
    cut.height = 60000;
    cut.data.assign(64, 0xFF);
    ExpectRefused(cut, "larger than zelvane reads");
    cut.width = 4000;
    cut.height = 4000;
    ExpectRefused(cut, "at least 500000 bytes needed, 64 there");
}

TEST(Targa, ColourMappedPixelsGoThroughTheGammaCorrectedMap)
{
    TargaSpec spec;
    spec.imageType = 1;
    spec.colourMapType = 1;
    spec.colourMapLength = 2;
    spec.colourMapEntrySize = 24;
    spec.pixelDepth = 8;
    spec.width = 3;
    spec.height = 1;
    spec.colourMap = {128, 64, 0, 255, 255, 255};
    spec.data = {1, 0, 5};
    DecodedImage decoded = Decode(spec, MakeGammaTable(2.0));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.PixelColour(0, 0), Rgb::FromHex(0xFFFFFF));
    EXPECT_EQ(decoded.image.PixelColour(1, 0), (Rgb{0, 16, 65}));
    EXPECT_EQ(decoded.image.PixelColour(2, 0), (Rgb{0, 0, 0})) << "past the map is black";

    spec.colourMapEntrySize = 32;
    spec.colourMap = {1, 2, 3, 99, 4, 5, 6, 99};
    decoded = Decode(spec);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.PixelColour(0, 0), (Rgb{6, 5, 4}));
}

TEST(Targa, RefusesWhatItDoesNotReadAndDamagedFiles)
{
    TargaSpec mapped;
    mapped.imageType = 1;
    mapped.colourMapType = 1;
    mapped.colourMapLength = 1;
    mapped.colourMapEntrySize = 24;
    mapped.pixelDepth = 8;
    mapped.colourMap = {0, 0, 0};
    mapped.data = {0};
    ASSERT_TRUE(Decode(mapped).ok());

    TargaSpec spec = mapped;
    spec.colourMapLength = 300;
    spec.colourMap.assign(900, 0);
    ExpectRefused(spec, "300 entries, more than 256");
    spec = mapped;
    spec.colourMapEntrySize = 16;
    ExpectRefused(spec, "entries of 16 bits");
    spec = mapped;
    spec.pixelDepth = 16;
    ExpectRefused(spec, "16-bit indices");
    spec = mapped;
    spec.colourMapType = 0;
    ExpectRefused(spec, "without a colour map");
    spec = mapped;
    spec.colourMap.resize(2);
    spec.data.clear();
    ExpectRefused(spec, "ends inside its colour map");
    spec = mapped;
    spec.data.clear();
    ExpectRefused(spec, "cut short");

    TargaSpec colour;
    colour.data = {1, 2, 3};
    ASSERT_TRUE(Decode(colour).ok());
    spec = colour;
    spec.imageType = 3; // grey
    ExpectRefused(spec, "image type 3");
    spec = colour;
    spec.colourMapType = 1;
    ExpectRefused(spec, "colour map in a true-colour picture");
    spec = colour;
    spec.pixelDepth = 16;
    ExpectRefused(spec, "16-bit true-colour");
    spec = colour;
    spec.width = 0;
    ExpectRefused(spec, "0 x 1");
    spec = colour;
    spec.width = 2;
    ExpectRefused(spec, "6 bytes needed, 3 there");

    std::vector<std::uint8_t> header = TargaFile(colour);
    header.resize(17);
    EXPECT_NE(DecodeTarga(header, kIdentity).error.find("18-byte header"), std::string::npos);
    spec = colour;
    spec.id = {1, 2, 3};
    std::vector<std::uint8_t> cutId = TargaFile(spec);
    cutId.resize(19);
    EXPECT_NE(DecodeTarga(cutId, kIdentity).error.find("identification field"), std::string::npos);
}

} // namespace
} // namespace zelvane
