// PNG files through libpng: what is written reads back pixel for pixel and
// compressed; damaged or oversized files are refused with a reason.

#include "bytes/ByteSpanWriter.h"
#include "pngio/PngCodec.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace zelvane {
namespace {

PngImage Pattern(uint32_t width, uint32_t height, PngChannels channels)
{
    PngImage image;
    image.width = width;
    image.height = height;
    image.channels = channels;
    for (size_t i = 0; i < image.RowBytes() * height; ++i)
        image.pixels.push_back(static_cast<uint8_t>(i * 37 + i / 5));
    return image;
}

std::vector<uint8_t> Encoded(const PngImage& image)
{
    std::vector<uint8_t> png;
    std::string error;
    EXPECT_TRUE(EncodePng(image, png, error)) << error;
    return png;
}

TEST(PngCodec, EveryLayoutReadsBackPixelForPixelAndConverts)
{
    for (const PngChannels channels : {PngChannels::Grey, PngChannels::GreyAlpha, PngChannels::Rgb, PngChannels::Rgba}) {
        SCOPED_TRACE(static_cast<int>(channels));
        const PngImage image = Pattern(37, 11, channels);
        PngImage back;
        std::string error;
        ASSERT_TRUE(DecodePng(Encoded(image), back, error)) << error;
        EXPECT_EQ(back.width, 37u);
        EXPECT_EQ(back.height, 11u);
        EXPECT_EQ(back.channels, channels);
        EXPECT_EQ(back.pixels, image.pixels);
    }

    // RGB asked for as RGBA gains opaque alpha; grey asked for as RGB repeats itself.
    const PngImage rgb = Pattern(4, 3, PngChannels::Rgb);
    PngImage rgba;
    std::string error;
    ASSERT_TRUE(DecodePng(Encoded(rgb), rgba, error, PngChannels::Rgba)) << error;
    ASSERT_EQ(rgba.channels, PngChannels::Rgba);
    EXPECT_EQ(std::vector<uint8_t>(rgba.Pixel(1, 2), rgba.Pixel(1, 2) + 4),
              (std::vector<uint8_t>{rgb.Pixel(1, 2)[0], rgb.Pixel(1, 2)[1], rgb.Pixel(1, 2)[2], 255}));
    const PngImage grey = Pattern(4, 3, PngChannels::Grey);
    PngImage wide;
    ASSERT_TRUE(DecodePng(Encoded(grey), wide, error, PngChannels::Rgb)) << error;
    EXPECT_EQ(std::vector<uint8_t>(wide.Pixel(3, 1), wide.Pixel(3, 1) + 3),
              std::vector<uint8_t>(3, grey.Pixel(3, 1)[0]));
}

TEST(PngCodec, ImagesAreCompressed)
{
    PngImage flat;
    flat.width = 200;
    flat.height = 150;
    flat.channels = PngChannels::Rgb;
    flat.pixels.assign(flat.RowBytes() * flat.height, 0xC8);
    EXPECT_LT(Encoded(flat).size(), flat.pixels.size() / 50);
}

TEST(PngCodec, DamagedOversizedAndUnwritableFilesAreRefusedWithAReason)
{
    const std::vector<uint8_t> good = Encoded(Pattern(40, 30, PngChannels::Rgb));
    auto refused = [](const std::vector<uint8_t>& png) {
        PngImage image;
        std::string error;
        EXPECT_FALSE(DecodePng(png, image, error));
        EXPECT_TRUE(image.pixels.empty());
        return error;
    };
    EXPECT_FALSE(refused({}).empty());
    EXPECT_FALSE(refused({'n', 'o', 't', ' ', 'a', ' ', 'P', 'N', 'G'}).empty());
    EXPECT_FALSE(refused(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(good.size() / 2))).empty());
    std::vector<uint8_t> badData = good;
    badData[badData.size() - 20] ^= 0x55;
    EXPECT_FALSE(refused(badData).empty());

    // A header that claims 40000 × 40000 pixels (its checksum fixed up) is
    // refused before anything is allocated for them.
    std::vector<uint8_t> huge = good;
    ByteSpanWriter header(huge);
    header.seek(16);
    header.u32be(40000);
    header.u32be(40000);
    header.seek(29);
    header.u32be(static_cast<uint32_t>(crc32(0, huge.data() + 12, 17)));
    EXPECT_NE(refused(huge).find("40000 x 40000 pixels"), std::string::npos);
    // The size alone is read from the header, for callers that expect another.
    uint32_t width = 0, height = 0;
    std::string sizeError;
    EXPECT_TRUE(ReadPngSize(huge, width, height, sizeError)) << sizeError;
    EXPECT_EQ(width, 40000u);
    EXPECT_EQ(height, 40000u);
    EXPECT_FALSE(ReadPngSize(std::vector<uint8_t>(huge.begin(), huge.begin() + 20), width, height, sizeError));

    PngImage mismatched = Pattern(4, 4, PngChannels::Rgb);
    mismatched.pixels.pop_back();
    std::vector<uint8_t> png;
    std::string error;
    EXPECT_FALSE(EncodePng(mismatched, png, error));
    EXPECT_FALSE(EncodePng(PngImage{}, png, error));

    test::TempDir dir;
    EXPECT_FALSE(WritePngFile(dir.File("no/such/folder.png"), Pattern(2, 2, PngChannels::Rgb), error));
    EXPECT_EQ(error, "No such file or directory");
    PngImage image;
    EXPECT_FALSE(ReadPngFile(dir.File("missing.png"), image, error));
    EXPECT_EQ(error, "No such file or directory");
}

} // namespace
} // namespace zelvane
