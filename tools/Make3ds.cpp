// make_3ds: writes the benchmark's large 3D Studio scene and, with
// --textures, the pictures its materials name beside it (a checker of the
// material's number, as BMP, PNG or JPEG).
//
//   make_3ds OUT.3ds [--objects N] [--grid N] [--materials N] [--groups N] [--seed N]
//                    [--textures bmp|png|jpg]

#include "pngio/PngCodec.h"
#include "scene/JpegPicture.h"
#include "scene/WindowsBitmap.h"
#include "tools/LargeThreeDSScene.h"

#include <filesystem>
#include <fstream>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace zelvane;

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: make_3ds OUT.3ds [--objects N] [--grid N] [--materials N] [--groups N] [--seed N]\n"
                 "                [--textures bmp|png|jpg]\n");
    return 2;
}

// A 64 × 64 checker of 8 × 8 squares in two colours made from `number`.
PlainImage Checker(uint32_t number)
{
    PlainImage image(64, 64, 3);
    image.SetOrder(ChannelOrder::Rgb);
    const uint8_t a[3] = {static_cast<uint8_t>(60 + 40 * (number % 5)), static_cast<uint8_t>(200 - 30 * (number % 4)), 90};
    const uint8_t b[3] = {230, static_cast<uint8_t>(120 + 20 * (number % 6)), static_cast<uint8_t>(40 * (number % 7))};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint8_t* colour = ((x / 8 + y / 8) % 2) ? a : b;
            std::copy(colour, colour + 3, image.Row(y).data() + 3 * x);
        }
    return image;
}

bool WriteTexture(const std::string& path, const std::string& type, const PlainImage& image)
{
    std::vector<uint8_t> bytes;
    if (type == "bmp") {
        bytes = EncodeWindowsBitmap(image);
    } else if (type == "jpg") {
        bytes = EncodeJpeg(image, 90);
    } else {
        PngImage png{static_cast<uint32_t>(image.Width()), static_cast<uint32_t>(image.Height()), PngChannels::Rgb, {}};
        for (int y = 0; y < image.Height(); ++y)
            png.pixels.insert(png.pixels.end(), image.Row(y).begin(), image.Row(y).end());
        std::string error;
        return WritePngFile(path, png, error);
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return !bytes.empty() && out.good();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const char* out = argv[1];
    LargeSceneOptions options;
    std::string textures;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--textures") {
            textures = argv[i + 1];
            if (textures != "bmp" && textures != "png" && textures != "jpg")
                return Usage();
            options.textureExtension = textures;
            continue;
        }
        char* end = nullptr;
        const unsigned long value = std::strtoul(argv[i + 1], &end, 10);
        if (*end != '\0')
            return Usage();
        const auto number = static_cast<uint32_t>(value);
        if (option == "--objects")
            options.objects = number;
        else if (option == "--grid")
            options.grid = number;
        else if (option == "--materials")
            options.materials = number;
        else if (option == "--groups")
            options.groupsPerObject = number;
        else if (option == "--seed")
            options.seed = number;
        else
            return Usage();
    }
    if (argc % 2 != 0)
        return Usage();
    const LargeScene scene = MakeLargeThreeDSScene(options);
    std::FILE* file = std::fopen(out, "wb");
    if (!file || std::fwrite(scene.bytes.data(), 1, scene.bytes.size(), file) != scene.bytes.size() ||
        std::fclose(file) != 0) {
        std::fprintf(stderr, "make_3ds: cannot write %s: %s\n", out, std::strerror(errno));
        return 1;
    }
    if (!textures.empty())
        for (uint32_t m = 0; m < options.materials; ++m) {
            const std::string path = (std::filesystem::path(out).parent_path() /
                                      ("tex" + std::to_string(m) + "." + textures)).string();
            if (!WriteTexture(path, textures, Checker(m))) {
                std::fprintf(stderr, "make_3ds: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    std::printf("%s: %llu meshes, %llu vertices, %llu triangles, %zu bytes\n", out,
                static_cast<unsigned long long>(scene.meshes), static_cast<unsigned long long>(scene.vertices),
                static_cast<unsigned long long>(scene.faces), scene.bytes.size());
    return 0;
}
