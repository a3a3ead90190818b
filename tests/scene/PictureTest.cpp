// PNG and JPEG pictures as the textures of models come: every channel
// layout becomes the colours it shows, the image layer's size limit holds
// before anything is allocated, and damaged or cut files are refused with a
// reason; COGLImage picks them by extension.

#include "pngio/PngCodec.h"
#include "scene/COGLImage.h"
#include "scene/JpegPicture.h"
#include "scene/PngPicture.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zelvane {
namespace {

std::vector<std::uint8_t> Png(std::uint32_t width, std::uint32_t height, PngChannels channels,
                              std::vector<std::uint8_t> pixels)
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(EncodePng({width, height, channels, std::move(pixels)}, bytes, error)) << error;
    return bytes;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size)
{
    for (int b = 0; b < size; ++b)
        bytes[at + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - b)));
}

Rgb ColourAt(const PlainImage& image, int x, int y)
{
    const std::uint8_t* pixel = image.Row(y).data() + static_cast<std::size_t>(x * image.BytesPerPixel());
    return {pixel[0], pixel[1], pixel[2]};
}

TEST(PngPicture, EveryLayoutBecomesItsColoursTopRowFirst)
{
    const DecodedImage rgb = DecodePngPicture(Png(2, 2, PngChannels::Rgb, {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 8, 7}));
    ASSERT_TRUE(rgb.ok()) << rgb.error;
    EXPECT_EQ(rgb.image.BytesPerPixel(), 3);
    EXPECT_EQ(rgb.image.Order(), ChannelOrder::Rgb);
    EXPECT_EQ(ColourAt(rgb.image, 1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(ColourAt(rgb.image, 1, 1), (Rgb{9, 8, 7}));

    const DecodedImage greyAlpha = DecodePngPicture(Png(2, 1, PngChannels::GreyAlpha, {200, 10, 50, 255}));
    ASSERT_TRUE(greyAlpha.ok()) << greyAlpha.error;
    ASSERT_TRUE(greyAlpha.HasAlpha());
    EXPECT_EQ(ColourAt(greyAlpha.image, 0, 0), (Rgb{200, 200, 200}));
    EXPECT_EQ(greyAlpha.image.Row(0)[3], 10);
    EXPECT_EQ(greyAlpha.image.Row(0)[7], 255);

    const DecodedImage grey = DecodePngPicture(Png(1, 1, PngChannels::Grey, {77}));
    ASSERT_TRUE(grey.ok()) << grey.error;
    EXPECT_FALSE(grey.HasAlpha());
    EXPECT_EQ(ColourAt(grey.image, 0, 0), (Rgb{77, 77, 77}));
}

TEST(PngPicture, HostileFilesAreRefusedWithAReason)
{
    const std::vector<std::uint8_t> good = Png(1, 1, PngChannels::Rgb, {1, 2, 3});
    // The header claims 8000 × 8000 (its checksum made right): more than a
    // texture may have, refused before the pixels are allocated.
    std::vector<std::uint8_t> huge = good;
    PutBigEndian(huge, 16, 8000, 4);
    PutBigEndian(huge, 20, 8000, 4);
    PutBigEndian(huge, 29, Crc32(std::span(huge).subspan(12, 17)), 4);
    const DecodedImage refused = DecodePngPicture(huge);
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.error.find("larger than zelvane reads"), std::string::npos) << refused.error;
    EXPECT_TRUE(refused.image.IsNull());

    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    std::vector<std::uint8_t> flipped = good;
    flipped[good.size() - 20] ^= 0x40; // inside the image data: its checksum fails
    for (const auto& bytes : {cut, flipped, std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'B', 'M'}}) {
        const DecodedImage decoded = DecodePngPicture(bytes);
        EXPECT_FALSE(decoded.ok());
        EXPECT_FALSE(decoded.error.empty());
    }
}

PlainImage Gradient(int width, int height)
{
    PlainImage image(width, height, 3);
    image.SetOrder(ChannelOrder::Rgb);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = image.Row(y).data() + 3 * x;
            pixel[0] = static_cast<std::uint8_t>(x * 255 / (width - 1));
            pixel[1] = static_cast<std::uint8_t>(y * 255 / (height - 1));
            pixel[2] = 128;
        }
    return image;
}

TEST(JpegPicture, ReadsWhatWasWrittenRowsInPlace)
{
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(Gradient(32, 16), 95);
    ASSERT_FALSE(jpeg.empty());
    const DecodedImage decoded = DecodeJpegPicture(jpeg);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.Width(), 32);
    EXPECT_EQ(decoded.image.Height(), 16);
    EXPECT_EQ(decoded.image.Order(), ChannelOrder::Rgb);
    const Rgb topLeft = ColourAt(decoded.image, 0, 0);
    const Rgb bottomRight = ColourAt(decoded.image, 31, 15);
    EXPECT_LT(topLeft.red, 20);
    EXPECT_LT(topLeft.green, 20) << "the top row is row 0";
    EXPECT_GT(bottomRight.red, 235);
    EXPECT_GT(bottomRight.green, 235);
}

TEST(JpegPicture, HostileFilesAreRefusedWithAReason)
{
    const std::vector<std::uint8_t> good = EncodeJpeg(Gradient(16, 16), 90);
    std::vector<std::uint8_t> huge = good;
    for (std::size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) { // the frame header: height, then width
            PutBigEndian(huge, i + 5, 30000, 2);
            PutBigEndian(huge, i + 7, 30000, 2);
            break;
        }
    const DecodedImage refused = DecodeJpegPicture(huge);
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.error.find("larger than zelvane reads"), std::string::npos) << refused.error;

    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() * 2 / 3));
    const std::vector<std::uint8_t> header(good.begin(), good.begin() + 20);
    for (const auto& bytes : {cut, header, std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0xFF, 0xD8}}) {
        const DecodedImage decoded = DecodeJpegPicture(bytes);
        EXPECT_FALSE(decoded.ok()) << bytes.size() << " bytes";
        EXPECT_FALSE(decoded.error.empty());
        EXPECT_TRUE(decoded.image.IsNull());
    }
}

TEST(Picture, TheImageLoaderPicksPngAndJpegByExtensionAndSaysWhyItFailed)
{
    const test::TempDir dir;
    const auto write = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(dir.File(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return dir.File(name);
    };
    COGLImage image;
    EXPECT_TRUE(image.Load(write("a.PNG", Png(5, 2, PngChannels::Rgba, std::vector<std::uint8_t>(40, 99))), true, 0,
                           ImageMessages::Quiet));
    EXPECT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.Width(), 4) << "resampled to a power of two";
    EXPECT_TRUE(image.Problem().empty());
    EXPECT_TRUE(image.Load(write("b.jpeg", EncodeJpeg(Gradient(8, 8), 80)), true, 0, ImageMessages::Quiet));
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_FALSE(image.Load(write("c.jpg", {1, 2, 3}), true, 0, ImageMessages::Quiet));
    EXPECT_FALSE(image.Problem().empty());
    EXPECT_FALSE(image.Load(dir.File("none.png"), true, 0, ImageMessages::Quiet));
    EXPECT_EQ(image.Problem(), "the file does not open");
}

} // namespace
} // namespace zelvane
