// Writes the seed inputs of the image fuzz targets: Windows bitmaps of every
// variant the reader takes (1 to 32 bits, colour tables, bit fields, run
// lengths, core and V5 headers, top-down rows) and damaged ones (cut short,
// lying sizes and offsets, long colour tables), and Targa files of types 1, 2
// and 10 (24 and 32 bits, both origins, an identification field) and damaged
// ones (cut packets, long colour maps, sizes no data could fill).
// Usage: make_image_fuzz_seeds CORPUS_FOLDER (writes into its fuzz_bmp and
// fuzz_targa sub-folders).

#include "fuzz/SeedFile.h"
#include "tools/ImageFileBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
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

// Rows of `width` pixels of `bits` each, padded to 4 bytes, with a pattern.
Bytes Rows(int width, int height, int bits)
{
    const std::size_t stride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
    Bytes pixels(stride * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 37 + i / stride * 11);
    return pixels;
}

std::vector<std::uint32_t> Palette(int count)
{
    std::vector<std::uint32_t> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back(static_cast<std::uint32_t>(i * 0x010305 + 0x102030) & 0xFFFFFF);
    return colours;
}

bool WriteBitmaps(const std::filesystem::path& folder)
{
    bool ok = true;
    auto seed = [&](const std::string& name, const BitmapSpec& spec) { ok &= fuzz::WriteSeed(folder, name, BitmapFile(spec)); };

    for (const int bits : {1, 4, 8, 16, 24, 32}) {
        BitmapSpec spec;
        spec.width = 13;
        spec.height = 5;
        spec.bitCount = static_cast<std::uint16_t>(bits);
        if (bits <= 8)
            spec.palette = Palette(1 << bits);
        spec.pixels = Rows(13, 5, bits);
        seed(std::to_string(bits) + "-bit", spec);
        spec.height = -5;
        seed(std::to_string(bits) + "-bit-top-down", spec);
        const Bytes whole = BitmapFile(spec);
        ok &= fuzz::WriteSeed(folder, std::to_string(bits) + "-bit-cut", Cut(whole, whole.size() - 7));
    }

    BitmapSpec shortTable;
    shortTable.width = 6;
    shortTable.height = 2;
    shortTable.bitCount = 8;
    shortTable.coloursUsed = 3;
    shortTable.palette = Palette(3);
    shortTable.pixels = Rows(6, 2, 8);
    seed("8-bit-short-table", shortTable);
    shortTable.coloursUsed = 300;
    seed("8-bit-long-table", shortTable);

    BitmapSpec core;
    core.headerSize = 12;
    core.width = 7;
    core.height = 3;
    core.bitCount = 8;
    core.palette = Palette(256);
    core.pixels = Rows(7, 3, 8);
    seed("core-8-bit", core);
    core.bitCount = 24;
    core.palette.clear();
    core.pixels = Rows(7, 3, 24);
    seed("core-24-bit", core);

    BitmapSpec fields;
    fields.width = 5;
    fields.height = 3;
    fields.bitCount = 16;
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    fields.pixels = Rows(5, 3, 16);
    seed("16-bit-565", fields);
    fields.bitCount = 32;
    fields.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    fields.pixels = Rows(5, 3, 32);
    seed("32-bit-10-10-10", fields);
    fields.headerSize = 124;
    fields.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    seed("v5-32-bit-fields", fields);
    fields.headerSize = 56;
    fields.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    seed("v3-32-bit-fields", fields);
    fields.headerSize = 40;
    fields.compression = 6;
    seed("alpha-bit-fields", fields);

    BitmapSpec rle8;
    rle8.width = 9;
    rle8.height = 4;
    rle8.bitCount = 8;
    rle8.compression = 1;
    rle8.coloursUsed = 6;
    rle8.palette = Palette(6);
    rle8.pixels = {4, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 3, 1, 12, 5, 0, 0, 9, 2, 0, 1};
    seed("rle8", rle8);
    rle8.pixels.resize(rle8.pixels.size() - 2);
    seed("rle8-without-end", rle8);
    rle8.pixels = {0, 5, 1, 2};
    seed("rle8-cut-literal", rle8);
    rle8.width = 30000;
    rle8.height = 1000;
    rle8.pixels = {0, 2, 255, 255, 0, 2, 255, 255, 255, 1, 0, 1};
    seed("rle8-large-sparse", rle8);

    BitmapSpec rle4 = rle8;
    rle4.width = 7;
    rle4.height = 2;
    rle4.bitCount = 4;
    rle4.compression = 2;
    rle4.pixels = {5, 0x12, 0, 5, 0x34, 0x52, 0x10, 0, 0, 0, 2, 0x45, 0, 1};
    seed("rle4", rle4);

    BitmapSpec lying;
    lying.width = 4000;
    lying.height = 4000;
    lying.pixels = Rows(4, 4, 24);
    seed("lying-size", lying);
    lying.width = 4;
    lying.height = 4;
    Bytes misplaced = BitmapFile(lying);
    misplaced[12] = 0x7F; // the pixels "begin" at 0x7F000036
    ok &= fuzz::WriteSeed(folder, "offset-past-end", misplaced);
    return ok;
}

bool WriteTargas(const std::filesystem::path& folder)
{
    bool ok = true;
    auto seed = [&](const std::string& name, const TargaSpec& spec) { ok &= fuzz::WriteSeed(folder, name, TargaFile(spec)); };

    for (const std::uint8_t depth : {24, 32}) {
        TargaSpec spec;
        spec.width = 11;
        spec.height = 4;
        spec.pixelDepth = depth;
        spec.id = {'z', 'e', 'l'};
        spec.data = Rows(11 * depth / 8, 4, 8);
        spec.data.resize(11u * 4u * depth / 8);
        const std::string bits = std::to_string(depth) + "-bit";
        seed(bits, spec);
        spec.descriptor = 0x20;
        spec.xOrigin = 100;
        seed(bits + "-top-left", spec);
        spec.descriptor = 0x30;
        seed(bits + "-top-right", spec);

        TargaSpec packed;
        packed.imageType = 10;
        packed.width = 10;
        packed.height = 3;
        packed.pixelDepth = depth;
        const std::size_t pixel = depth / 8;
        for (const std::uint8_t header : {0x87, 0x04, 0x8F, 0x81, 0x01}) {
            packed.data.push_back(header);
            const std::size_t stored = header & 0x80 ? 1 : (header & 0x7F) + 1u;
            for (std::size_t i = 0; i < stored * pixel; ++i)
                packed.data.push_back(static_cast<std::uint8_t>(header + i * 29));
        }
        seed(bits + "-run-lengths", packed);
        const Bytes whole = TargaFile(packed);
        ok &= fuzz::WriteSeed(folder, bits + "-run-lengths-cut", Cut(whole, whole.size() - 4));
    }

    TargaSpec mapped;
    mapped.imageType = 1;
    mapped.colourMapType = 1;
    mapped.colourMapLength = 16;
    mapped.colourMapEntrySize = 24;
    mapped.pixelDepth = 8;
    mapped.width = 6;
    mapped.height = 3;
    for (int i = 0; i < 16 * 3; ++i)
        mapped.colourMap.push_back(static_cast<std::uint8_t>(i * 5));
    for (int i = 0; i < 18; ++i)
        mapped.data.push_back(static_cast<std::uint8_t>(i % 20));
    seed("colour-mapped", mapped);
    mapped.colourMapEntrySize = 32;
    mapped.colourMap.resize(16 * 4, 0x80);
    seed("colour-mapped-32", mapped);
    mapped.colourMapLength = 300;
    mapped.colourMap.resize(300 * 4, 1);
    seed("colour-map-too-long", mapped);

    TargaSpec huge;
    huge.imageType = 10;
    huge.width = 65535;
    huge.height = 65535;
    huge.data = {0xFF, 1, 2, 3};
    seed("huge-run-lengths", huge);
    huge.width = 5000;
    huge.height = 5000;
    seed("large-run-lengths", huge);
    huge.imageType = 2;
    huge.width = 300;
    huge.height = 300;
    seed("true-colour-cut", huge);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_image_fuzz_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const std::filesystem::path corpus = argv[1];
    const bool ok = WriteBitmaps(corpus / "fuzz_bmp") && WriteTargas(corpus / "fuzz_targa");
    return ok ? 0 : 1;
}
