// Writes the seed inputs of the model texture targets: PNG pictures of every
// channel layout and damaged ones (cut, a broken checksum, a header claiming
// more pixels than a texture may have), and JPEG pictures (4:4:4 and 4:2:0,
// odd sizes) and damaged ones (cut inside the scan, cut after the header, a
// frame header claiming 30000 × 30000, flipped bytes in the scan).
// Usage: make_texture_fuzz_seeds CORPUS_FOLDER (writes into its
// fuzz_png_picture and fuzz_jpeg_picture sub-folders).

#include "fuzz/SeedFile.h"
#include "pngio/PngCodec.h"
#include "scene/JpegPicture.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Cut(Bytes bytes, std::size_t keep)
{
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

Bytes Png(std::uint32_t width, std::uint32_t height, PngChannels channels)
{
    PngImage image{width, height, channels, {}};
    image.pixels.resize(image.RowBytes() * height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<std::uint8_t>(i * 29 + i / 7);
    Bytes bytes;
    std::string error;
    if (!EncodePng(image, bytes, error))
        std::fprintf(stderr, "%s\n", error.c_str());
    return bytes;
}

PlainImage Picture(int width, int height)
{
    PlainImage image(width, height, 3);
    image.SetOrder(ChannelOrder::Rgb);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = image.Row(y).data() + 3 * x;
            pixel[0] = static_cast<std::uint8_t>(x * 8);
            pixel[1] = static_cast<std::uint8_t>(y * 8);
            pixel[2] = static_cast<std::uint8_t>((x ^ y) * 16);
        }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_texture_fuzz_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const std::filesystem::path png = std::filesystem::path(argv[1]) / "fuzz_png_picture";
    const std::filesystem::path jpeg = std::filesystem::path(argv[1]) / "fuzz_jpeg_picture";
    bool ok = true;
    ok &= fuzz::WriteSeed(png, "grey", Png(5, 3, PngChannels::Grey));
    ok &= fuzz::WriteSeed(png, "grey-alpha", Png(4, 4, PngChannels::GreyAlpha));
    ok &= fuzz::WriteSeed(png, "rgb", Png(7, 2, PngChannels::Rgb));
    const Bytes rgba = Png(3, 9, PngChannels::Rgba);
    ok &= fuzz::WriteSeed(png, "rgba", rgba);
    ok &= fuzz::WriteSeed(png, "cut", Cut(rgba, rgba.size() / 2));
    Bytes broken = rgba;
    broken[broken.size() - 16] ^= 0x21;
    ok &= fuzz::WriteSeed(png, "broken-checksum", broken);
    Bytes huge = rgba; // 8000 × 8000 with its old checksum: libpng refuses it
    huge[18] = 0x1F, huge[19] = 0x40, huge[22] = 0x1F, huge[23] = 0x40;
    ok &= fuzz::WriteSeed(png, "huge-header", huge);

    const Bytes j444 = EncodeJpeg(Picture(16, 16), 90);
    ok &= fuzz::WriteSeed(jpeg, "444", j444);
    ok &= fuzz::WriteSeed(jpeg, "odd-size", EncodeJpeg(Picture(13, 7), 40));
    ok &= fuzz::WriteSeed(jpeg, "cut-scan", Cut(j444, j444.size() * 3 / 4));
    ok &= fuzz::WriteSeed(jpeg, "cut-header", Cut(j444, 40));
    Bytes large = j444;
    for (std::size_t i = 0; i + 8 < large.size(); ++i)
        if (large[i] == 0xFF && large[i + 1] == 0xC0) {
            large[i + 5] = 0x75, large[i + 6] = 0x30, large[i + 7] = 0x75, large[i + 8] = 0x30;
            break;
        }
    ok &= fuzz::WriteSeed(jpeg, "huge-frame", large);
    Bytes flipped = j444;
    for (std::size_t i = flipped.size() / 2; i < flipped.size() / 2 + 8; ++i)
        flipped[i] ^= 0x5A;
    ok &= fuzz::WriteSeed(jpeg, "flipped-scan", flipped);
    return ok ? 0 : 1;
}
