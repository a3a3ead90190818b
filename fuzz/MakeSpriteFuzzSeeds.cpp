// Writes the seed inputs of the sprite and preview fuzz targets: sprites
// made with the encoders (every kind of pixel run, many frames, 'SPR#' in
// both byte orders), damaged ones (a bad token, cut short, offsets and
// counts that lie), and small object files in fuzz_preview's input form
// (single and multi-tile objects, mirrored and left-out sprites, levels,
// opacity, a broken sprite).
// Usage: make_sprite_fuzz_seeds CORPUS_FOLDER (writes into its fuzz_spr,
// fuzz_spr2 and fuzz_preview sub-folders).

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"
#include "fuzz/SeedFile.h"
#include "bytes/ByteWriter.h"
#include "objects/ObjectDefinition.h"
#include "objects/Palette.h"
#include "objects/SpriteEncoder.h"
#include "objects/SpriteLayout.h"
#include "resfile/CTGDrawGroup.h"
#include "tools/FramedSprite.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Bytes = std::vector<uint8_t>;

// A frame with every kind of pixel: opaque with plain depth, opaque with
// its own depth, see-through, and skipped pixels and rows.
SpriteFrame MixedFrame(int width, int height, int originX, int originY)
{
    SpriteFrame f;
    f.transparentIndex = 0;
    f.info.originX = originX;
    f.info.originY = originY;
    f.info.paletteId = -1;
    f.colour = PlainImage(width, height, 1, 0);
    f.depth = PlainImage(width, height, 1, kEmptyDepth);
    f.alpha = PlainImage(width, height, 1, kEmptyAlpha);
    for (int y = 0; y < height; ++y) {
        if (y == 2)
            continue; // an empty row
        for (int x = 0; x < width; ++x) {
            if ((x + y) % 7 == 0)
                continue; // skipped
            const auto i = static_cast<size_t>(x);
            f.colour.Row(y)[i] = static_cast<uint8_t>(1 + (x * 13 + y * 5) % 200);
            f.depth.Row(y)[i] = x < width / 3 ? kPlainPixelDepth : static_cast<uint8_t>(40 + x + y);
            f.alpha.Row(y)[i] = x > 2 * width / 3 ? static_cast<uint8_t>(8 * (x % 31)) : kOpaqueAlpha;
        }
    }
    return f;
}

Bytes Cut(Bytes bytes, size_t size)
{
    bytes.resize(std::min(size, bytes.size()));
    return bytes;
}

void PutU32(Bytes& bytes, size_t at, uint32_t value, ByteOrder order = ByteOrder::Little)
{
    ByteSpanWriter w(bytes);
    w.seek(at);
    w.u32(value, order);
}

uint32_t GetU32(const Bytes& bytes, size_t at)
{
    ByteReader r(bytes);
    r.seek(at);
    return r.u32le();
}

// A little-endian 'SPR#' as some files keep it: every number of the
// headers in the other byte order (the commands are bytes).
Bytes BigEndianSpr(Bytes bytes)
{
    const uint32_t frames = GetU32(bytes, 4);
    std::vector<uint32_t> offsets;
    for (uint32_t i = 0; i < frames; ++i)
        offsets.push_back(GetU32(bytes, 12 + 4 * i));
    for (size_t at = 0; at < 12 + 4 * size_t{frames}; at += 4)
        PutU32(bytes, at, GetU32(bytes, at), ByteOrder::Big);
    for (uint32_t offset : offsets)
        for (size_t at = offset; at < offset + 8; at += 2)
            std::swap(bytes[at], bytes[at + 1]);
    return bytes;
}

Bytes Spr2WithCommands(std::initializer_list<uint16_t> commands)
{
    ByteWriter w;
    for (uint32_t v : {1000u, 1u, 7u, 16u})
        w.u32le(v);
    for (uint16_t v : {4, 3, 7, 0, 0xFFFF, 0, 0, 0}) // 4 x 3, flags 7, the resource's palette
        w.u16le(v);
    for (uint16_t c : commands)
        w.u16le(c);
    return w.take();
}

void SpriteSeeds(const std::filesystem::path& corpus, bool& ok)
{
    const std::vector<SpriteFrame> frames = {MixedFrame(23, 9, 4, -3), MixedFrame(5, 4, 0, 0),
                                             MixedFrame(300, 3, 1, 1)};
    const Bytes spr2 = EncodeSpr2(frames, 7).bytes;
    const std::filesystem::path two = corpus / "fuzz_spr2";
    ok &= fuzz::WriteSeed(two, "mixed", spr2);
    ok &= fuzz::WriteSeed(two, "cut-in-frame", Cut(spr2, spr2.size() / 2));
    Bytes lying = spr2;
    PutU32(lying, 4, 0x40000000);
    ok &= fuzz::WriteSeed(two, "lying-count", lying);
    Bytes outside = spr2;
    PutU32(outside, 16, static_cast<uint32_t>(spr2.size() - 4));
    ok &= fuzz::WriteSeed(two, "offset-outside", outside);
    ok &= fuzz::WriteSeed(two, "bad-token", Spr2WithCommands({0x0000, 0x2001, 0x1080, 0xE001, 0xA000}));
    ok &= fuzz::WriteSeed(two, "every-command",
                Spr2WithCommands({0x0000, 0x6001, 0x2001, 0x0580, 0x0000, 0x4001, 0x1702, 0x0000, 0xC002, 0x0403,
                                  0x8001, 0x0000, 0x6004, 0xA000}));
    ok &= fuzz::WriteSeed(two, "zero-size", Spr2WithCommands({0xA000}));
    std::vector<SpriteFrame> many;
    for (int i = 0; i < 30; ++i)
        many.push_back(MixedFrame(1 + i % 4, 1 + i % 3, i, -i));
    ok &= fuzz::WriteSeed(two, "many-frames", EncodeSpr2(many, 7).bytes);

    // Version 1001: the same frames behind their sizes, and sizes that lie.
    const Bytes framed = Spr2AsVersion1001(spr2);
    ok &= fuzz::WriteSeed(two, "v1001-mixed", framed);
    ok &= fuzz::WriteSeed(two, "v1001-many-frames", Spr2AsVersion1001(EncodeSpr2(many, 7).bytes));
    ok &= fuzz::WriteSeed(two, "v1001-cut-in-frame", Cut(framed, framed.size() / 2));
    Bytes framedCount = framed;
    PutU32(framedCount, 8, 0x20000000);
    ok &= fuzz::WriteSeed(two, "v1001-lying-count", framedCount);
    const size_t secondFrame = 12 + 8 + GetU32(framed, 16);
    Bytes pastEnd = framed;
    PutU32(pastEnd, secondFrame + 4, static_cast<uint32_t>(framed.size()));
    ok &= fuzz::WriteSeed(two, "v1001-size-past-end", pastEnd);
    Bytes early = framed;
    PutU32(early, 16, GetU32(framed, 16) + 2);
    early.insert(early.begin() + static_cast<std::ptrdiff_t>(secondFrame), {0, 0});
    ok &= fuzz::WriteSeed(two, "v1001-ends-before-size", early);
    Bytes late = framed;
    PutU32(late, 16, GetU32(framed, 16) - 2);
    ok &= fuzz::WriteSeed(two, "v1001-runs-past-size", late);

    const Bytes spr = EncodeSpr(frames, 7).bytes;
    const std::filesystem::path one = corpus / "fuzz_spr";
    ok &= fuzz::WriteSeed(one, "mixed", spr);
    ok &= fuzz::WriteSeed(one, "big-endian", BigEndianSpr(spr));
    ok &= fuzz::WriteSeed(one, "cut-in-frame", Cut(spr, spr.size() / 2));
    ok &= fuzz::WriteSeed(one, "many-frames", EncodeSpr(many, 7).bytes);
    ByteWriter bad;
    for (uint32_t v : {505u, 1u, 7u, 16u})
        bad.u32le(v);
    for (uint16_t v : {0, 0, 2, 4, 0})
        bad.u16le(v);
    for (uint8_t b : {4, 0, 2, 3, 9, 0, 9, 1, 4, 0, 3, 3, 1, 2, 3, 0, 1, 1, 7, 0, 5, 0})
        bad.u8(b);
    ok &= fuzz::WriteSeed(one, "every-command-then-bad-token", bad.take());
}

// ---- fuzz_preview inputs ----

class PreviewInput {
public:
    PreviewInput(uint8_t imageIndex, Rgb background, uint8_t opacity)
    {
        bytes_.bytes(std::array<uint8_t, 5>{imageIndex, background.red, background.green, background.blue, opacity});
    }
    // kind: 0 OBJD, 1 DGRP, 2 SPR2, 3 SPR#, 4 PALT.
    void Add(uint8_t kind, int16_t id, const Bytes& data)
    {
        bytes_.text("ZLV!");
        bytes_.u8(kind);
        bytes_.u16le(static_cast<uint16_t>(id));
        bytes_.bytes(data);
    }
    const Bytes& Data() const { return bytes_.data(); }

private:
    ByteWriter bytes_;
};

Bytes Record(std::initializer_list<std::pair<size_t, int16_t>> words)
{
    ObjectDefinition record;
    for (const auto& [word, value] : words)
        record.SetWord(word, value);
    return record.StoredBytes();
}

Bytes Group(std::vector<DrawGroupSprite> sprites)
{
    std::vector<DrawGroupImage> images(12);
    for (size_t i = 0; i < images.size(); ++i) {
        images[i].direction = 1 << (2 * (i % 4));
        images[i].zoom = static_cast<int32_t>(i / 4 + 1);
        images[i].sprites = sprites;
    }
    CTGDrawGroup group;
    group.Set("seed", 20004, std::move(images));
    return group.Encode();
}

Bytes SeedPalette()
{
    Palette palette;
    for (size_t i = 0; i < Palette::kSize; ++i)
        palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3)};
    return palette.Encode();
}

void PreviewSeeds(const std::filesystem::path& folder, bool& ok)
{
    const Bytes spr2 = EncodeSpr2(std::vector<SpriteFrame>{MixedFrame(12, 9, 0, 0), MixedFrame(6, 5, 2, 2)}, 200).bytes;
    const Bytes spr = EncodeSpr(std::vector<SpriteFrame>{MixedFrame(8, 6, 0, 0)}, 200).bytes;

    PreviewInput single(10, Rgb::FromHex(0xFFFFFF), 255);
    single.Add(0, 128, Record({{3, 100}, {4, 1}}));
    single.Add(1, 100, Group({{200, 0, -6, 3, 0, 0, 0, 0}, {201, 0, 4, -2, 0, 0, 0, 1}, {200, 7, 0, 0, 0, 0, 0, 0}}));
    single.Add(2, 200, spr2);
    single.Add(3, 201, spr);
    single.Add(4, 200, SeedPalette());
    ok &= fuzz::WriteSeed(folder, "single", single.Data());

    // Three tiles, one a level up, drawing `sprite` (some mirrored).
    const auto multiTile = [](const Bytes& sprite) {
        PreviewInput multi(6, Rgb::FromHex(0x102030), 200);
        multi.Add(0, 128, Record({{10, 3}, {11, -1}}));
        const int16_t places[] = {0x0000, 0x0100, 0x0001};
        for (int16_t t = 0; t < 3; ++t) {
            multi.Add(0, static_cast<int16_t>(129 + t),
                      Record({{3, static_cast<int16_t>(100 + t)},
                              {4, 1},
                              {10, 3},
                              {11, places[t]},
                              {56, static_cast<int16_t>(t == 2 ? 1 : 0)}}));
            multi.Add(1, static_cast<int16_t>(100 + t), Group({{200, t % 2, -64, 32, 0, 0, 0, t % 2}}));
        }
        multi.Add(2, 200, sprite);
        multi.Add(4, 200, SeedPalette());
        return multi;
    };
    ok &= fuzz::WriteSeed(folder, "multi-tile", multiTile(spr2).Data());
    ok &= fuzz::WriteSeed(folder, "multi-tile-v1001", multiTile(Spr2AsVersion1001(spr2)).Data());

    PreviewInput leftOut(3, Rgb::FromHex(0x000000), 255);
    leftOut.Add(0, 128, Record({{3, 100}, {4, 2}, {64, 201}, {65, 1}}));
    leftOut.Add(1, 100, Group({{200, 1, 0, 0, 0, 0, 0, 0}, {201, 0, 8, 8, 0, 0, 0, 0}}));
    leftOut.Add(2, 200, spr2);
    leftOut.Add(3 | 0x80, 201, spr);
    ok &= fuzz::WriteSeed(folder, "left-out-and-no-palette", leftOut.Data());

    PreviewInput broken(10, Rgb::FromHex(0xFF00FF), 255);
    broken.Add(0, 128, Record({{3, 100}, {4, 1}}));
    broken.Add(1, 100, Group({{5, 0, 0, 0, 0, 0, 0, 0}, {200, 0, 3000, 0, 0, 0, 0, 0}, {200, 0, 0, 0, 0, 0, 0, 0}}));
    broken.Add(2, 5, Spr2WithCommands({0x0000, 0xE001}));
    broken.Add(2, 200, spr2);
    ok &= fuzz::WriteSeed(folder, "broken-sprite-and-far-placement", broken.Data());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path corpus = argv[1];
    bool ok = true;
    SpriteSeeds(corpus, ok);
    PreviewSeeds(corpus / "fuzz_preview", ok);
    return ok ? 0 : 1;
}
