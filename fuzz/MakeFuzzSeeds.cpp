// Writes the seed inputs of the fuzz targets: small valid files built with
// IffBuilder and FarBuilder, string lists and draw groups in every layout,
// edit scripts for the editing target, and damaged variants of them that
// reach the readers' error paths (truncations, stale maps, lying counts and
// offsets).
// Usage: make_fuzz_seeds CORPUS_FOLDER (one sub-folder per target is made).

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"
#include "bytes/ByteWriter.h"
#include "pngio/PngCodec.h"
#include "resfile/CTGRecord.h"
#include "resfile/FarBuilder.h"
#include "resfile/IffBuilder.h"
#include "resfile/IffIndex.h"
#include "resfile/IffLayout.h"
#include "resfile/ResType.h"
#include "resfile/ResourceMapRecord.h"

#include <zlib.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Bytes = std::vector<uint8_t>;

class SeedWriter {
public:
    explicit SeedWriter(std::filesystem::path folder) : folder_(std::move(folder))
    {
        std::filesystem::create_directories(folder_);
    }
    void Write(const std::string& name, const Bytes& bytes)
    {
        std::ofstream out(folder_ / ("seed-" + name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            std::fprintf(stderr, "cannot write seed %s\n", name.c_str());
        ok_ = ok_ && static_cast<bool>(out);
    }
    bool Ok() const { return ok_; }

private:
    std::filesystem::path folder_;
    bool ok_ = true;
};

Bytes Pattern(size_t size, uint8_t start)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(start + i * 7);
    return bytes;
}

uint32_t GetU32(const Bytes& b, size_t at, ByteOrder order)
{
    ByteReader r(b);
    r.seek(at);
    return r.u32(order);
}
uint32_t GetU32be(const Bytes& b, size_t at) { return GetU32(b, at, ByteOrder::Big); }
uint32_t GetU32le(const Bytes& b, size_t at) { return GetU32(b, at, ByteOrder::Little); }
void PutU32(Bytes& b, size_t at, uint32_t v, ByteOrder order)
{
    ByteSpanWriter w(b);
    w.seek(at);
    w.u32(v, order);
}
void PutU32be(Bytes& b, size_t at, uint32_t v) { PutU32(b, at, v, ByteOrder::Big); }
void PutU32le(Bytes& b, size_t at, uint32_t v) { PutU32(b, at, v, ByteOrder::Little); }
Bytes Prefix(const Bytes& b, size_t length) { return Bytes(b.begin(), b.begin() + static_cast<long>(length)); }

// A small object file: the usual resource kinds, with labels and a second OBJD.
IffBuilder SmallObject()
{
    IffBuilder builder;
    builder.AddChunk(kTypeOBJD, 128, "chair", Pattern(216, 1));
    builder.AddChunk(kTypeOBJD, 129, "chair tile 2", Pattern(216, 2));
    builder.AddChunk(kTypeSTRList, 128, "names", Pattern(31, 3));
    builder.AddChunk(kTypeBHAV, 4096, "main", Pattern(40, 4));
    builder.AddChunk(kTypeSPR2, 256, "", Pattern(90, 5));
    builder.AddChunk(kTypePALT, 256, "palette", Pattern(12, 6), 0);
    return builder;
}

// The map record stored in a file built with a map.
Bytes MapRecordOf(const Bytes& file)
{
    const uint32_t mapOffset = GetU32be(file, kIffMapOffsetPos);
    return Bytes(file.begin() + mapOffset + kChunkHeaderSize, file.end());
}

void WriteIffSeeds(SeedWriter& out)
{
    const Bytes withMap = SmallObject().Build(IffBuilder::Map::Written);
    out.Write("with-map", withMap);
    const Bytes noMap = SmallObject().Build(IffBuilder::Map::None);
    out.Write("no-map", noMap);

    Bytes version20 = withMap;
    version20[kIffMinorDigitPos] = '0';
    out.Write("version-2.0", version20);

    IffBuilder freed = SmallObject();
    freed.AddFreeChunk(200);
    freed.AddChunk(kTypeCTSS, 2000, "catalog", Pattern(50, 7));
    freed.AddFreeChunk(76);
    out.Write("free-chunks", freed.Build(IffBuilder::Map::Written));

    IffBuilder stale = SmallObject();
    stale.AddChunk(kTypeMap, 0, "", Pattern(30, 8));
    out.Write("map-lists-rsmp", stale.Build(IffBuilder::Map::Written));

    Bytes wrongMap = withMap;
    PutU32be(wrongMap, kIffMapOffsetPos, kIffHeaderSize);
    out.Write("map-offset-at-objd", wrongMap);

    Bytes badSize = noMap;
    PutU32be(badSize, kIffHeaderSize + 216 + kChunkHeaderSize + 4, 12);
    out.Write("chunk-size-too-small", badSize);

    out.Write("header-only", Prefix(noMap, kIffHeaderSize));
    out.Write("cut-in-chunk-header", Prefix(noMap, kIffHeaderSize + 216 + kChunkHeaderSize + 30));
    out.Write("cut-in-map", Prefix(withMap, withMap.size() - 20));
    out.Write("cut-in-chunk-data", Prefix(withMap, kIffHeaderSize + kChunkHeaderSize + 100));
}

void WriteMapRecordSeeds(SeedWriter& out)
{
    const Bytes record = MapRecordOf(SmallObject().Build(IffBuilder::Map::Written));
    out.Write("small-object", record);

    IffIndex empty;
    ResourceMapRecord emptyRecord(empty);
    ResHandle* handle = CTGRecord::Write(emptyRecord, kMapRecordVersion);
    out.Write("empty", Bytes(handle->Data(), handle->Data() + handle->Size()));
    ResHandle::Dispose(handle);

    // The same map as written on a machine of the other byte order.
    Bytes swapped = record;
    swapped[0] = 1;
    for (size_t at = 4; at + 4 <= kRecordPrefixSize + 8; at += 4)
        PutU32be(swapped, at, GetU32le(record, at));
    size_t at = kRecordPrefixSize + 8;
    const uint32_t groups = GetU32le(record, kRecordPrefixSize + 4);
    for (uint32_t g = 0; g < groups; ++g) {
        const uint32_t entries = GetU32le(record, at + 4);
        PutU32be(swapped, at, GetU32le(record, at));
        PutU32be(swapped, at + 4, entries);
        at += 8;
        for (uint32_t e = 0; e < entries; ++e) {
            PutU32be(swapped, at, GetU32le(record, at));
            for (size_t k = 0; k < 2; ++k) {
                swapped[at + 4 + 2 * k] = record[at + 5 + 2 * k];
                swapped[at + 5 + 2 * k] = record[at + 4 + 2 * k];
            }
            at += 8;
            while (record[at] != 0)
                ++at;
            ++at;
            // The pad is counted from the start of the body, which begins at an even offset.
            at += at & 1u;
        }
    }
    out.Write("other-byte-order", swapped);

    Bytes lyingCount = record;
    PutU32le(lyingCount, kRecordPrefixSize + 4, 0x10000000);
    out.Write("lying-type-count", lyingCount);
    Bytes lyingEntries = record;
    PutU32le(lyingEntries, kRecordPrefixSize + 12, 0xFFFFFFFF);
    out.Write("lying-entry-count", lyingEntries);
    out.Write("cut-in-label", Prefix(record, record.size() - 3));
    out.Write("prefix-only", Prefix(record, kRecordPrefixSize));
}

Bytes SmallArchive()
{
    FarBuilder builder;
    builder.AddFile("chair.iff", SmallObject().Build(IffBuilder::Map::Written));
    builder.AddFile("Expansion/Lamp.IFF", Pattern(300, 9));
    builder.AddFile("deep\\folders\\table.iff", Pattern(100, 10));
    return builder.Build();
}

void WriteFarSeeds(SeedWriter& out)
{
    const Bytes archive = SmallArchive();
    out.Write("small", archive);
    out.Write("empty", FarBuilder().Build());

    FarBuilder clashing;
    clashing.AddFile("plain.iff", Pattern(20, 11));
    clashing.AddFile("sub/inner.iff", Pattern(20, 12));
    clashing.AddFile("SUB/Other.iff", Pattern(20, 13));
    clashing.AddFile("chair.iff", Pattern(20, 14));
    clashing.AddFile("CHAIR.IFF", Pattern(20, 15));
    clashing.AddFile("chair.iff/inside", Pattern(20, 16));
    clashing.AddFile("../escape.iff", Pattern(20, 17));
    clashing.AddFile("/absolute.iff", Pattern(20, 18));
    clashing.AddFile("./here/./there.iff", Pattern(20, 19));
    out.Write("clashing-names", clashing.Build());

    const uint32_t manifest = GetU32le(archive, 12);
    const size_t firstEntry = manifest + 4;
    Bytes badOffset = archive;
    PutU32le(badOffset, firstEntry + 8, static_cast<uint32_t>(archive.size()));
    out.Write("offset-past-end", badOffset);
    Bytes badLength = archive;
    PutU32le(badLength, firstEntry, 0xFFFFFFF0);
    out.Write("length-past-end", badLength);
    Bytes hugeCount = archive;
    PutU32le(hugeCount, manifest, 0xFFFFFFFF);
    out.Write("huge-count", hugeCount);
    Bytes hugeName = archive;
    PutU32le(hugeName, firstEntry + 12, 0x7FFFFFFF);
    out.Write("huge-name-length", hugeName);
    Bytes lostManifest = archive;
    PutU32le(lostManifest, 12, 0xFFFFFFFF);
    out.Write("manifest-past-end", lostManifest);
    out.Write("cut-in-manifest", Prefix(archive, archive.size() - 10));
    out.Write("header-only", Prefix(archive, 16));
}

// The first byte of a string list input: caret text, all languages, fill, language slot.
uint8_t ListControl(bool caret, bool all, bool fill, uint8_t language)
{
    return static_cast<uint8_t>((caret ? 0x80 : 0) | (all ? 0x40 : 0) | (fill ? 0x20 : 0) | (language & 0x1F));
}

Bytes WithControl(uint8_t control, const Bytes& list)
{
    Bytes bytes{control};
    bytes.insert(bytes.end(), list.begin(), list.end());
    return bytes;
}

void WriteStringListSeeds(SeedWriter& out)
{
    ByteWriter plain;
    plain.u16le(0xFFFF);
    plain.u16le(3);
    for (const char* text : {"one", "", "three"}) {
        plain.text(text);
        plain.u8(0);
    }
    out.Write("plain", WithControl(ListControl(false, false, false, 0), plain.data()));
    out.Write("plain-language-3", WithControl(ListControl(false, true, false, 3), plain.data()));

    ByteWriter commented;
    commented.u16le(0xFFFE);
    commented.u16le(2);
    for (const char* text : {"text", "comment", "second", ""}) {
        commented.text(text);
        commented.u8(0);
    }
    out.Write("comments", WithControl(ListControl(false, false, true, 0), commented.data()));

    // Layout -3 with three languages, one of them interrupted, and the real files' filler.
    ByteWriter languages;
    languages.u16le(0xFFFD);
    languages.u16le(6);
    const std::vector<std::pair<uint8_t, const char*>> records = {{1, "a"}, {1, "b"}, {2, "x"}, {20, "last"}, {1, "c"},
                                                                  {21, "out of range"}};
    for (const auto& [language, text] : records) {
        languages.u8(language);
        languages.text(text);
        languages.u8(0);
        languages.text("note");
        languages.u8(0);
    }
    languages.fill(8, 0xA3);
    out.Write("languages-all", WithControl(ListControl(false, true, false, 0), languages.data()));
    out.Write("languages-current-1", WithControl(ListControl(false, false, true, 1), languages.data()));
    out.Write("languages-cut", WithControl(ListControl(false, true, false, 0), Prefix(languages.data(), 20)));

    // Layout -4: twenty sets, English with a language byte 255 and a text of
    // two length bytes, French widened to UTF-8, Japanese as Unicode, filler.
    const auto sized = [](ByteWriter& w, const std::string& text) {
        for (size_t length = text.size();; length >>= 7) {
            w.u8(static_cast<uint8_t>((length & 0x7F) | (length > 0x7F ? 0x80 : 0)));
            if (length <= 0x7F)
                break;
        }
        w.text(text);
    };
    ByteWriter sets;
    sets.u16le(0xFFFC);
    sets.u8(20);
    for (uint8_t set = 0; set < 20; ++set) {
        const std::vector<std::pair<uint8_t, std::string>> entries =
            set == 0    ? std::vector<std::pair<uint8_t, std::string>>{{0, "Rug"}, {255, std::string(140, 'd')}}
            : set == 2  ? std::vector<std::pair<uint8_t, std::string>>{{2, "Se t\xC3\xA9l\xC3\xA9porter"}}
            : set == 14 ? std::vector<std::pair<uint8_t, std::string>>{{14, "\xE9\x81\x8A\xE3\x81\xB6"}}
                        : std::vector<std::pair<uint8_t, std::string>>{};
        sets.u16le(static_cast<uint16_t>(entries.size()));
        for (const auto& [language, text] : entries) {
            sets.u8(language);
            sized(sets, text);
            sized(sets, "comment");
        }
    }
    sets.fill(3, 0xA3);
    out.Write("language-sets-all", WithControl(ListControl(false, true, false, 0), sets.data()));
    out.Write("language-sets-current-2", WithControl(ListControl(false, false, true, 2), sets.data()));
    out.Write("language-sets-cut", WithControl(ListControl(false, true, false, 0), Prefix(sets.data(), 40)));
    Bytes swapped = sets.data();
    std::swap(swapped[0], swapped[1]);
    out.Write("language-sets-unconverted", WithControl(ListControl(false, true, false, 14), swapped));

    // Length-prefixed, with the two bytes that are translated.
    ByteWriter prefixed;
    prefixed.u16le(2);
    prefixed.u8(5);
    prefixed.text("it\xD5s ");
    prefixed.u8(4);
    prefixed.text("n\xA1pe");
    out.Write("length-prefixed", WithControl(ListControl(false, false, false, 2), prefixed.data()));
    Bytes lying = prefixed.data();
    lying[2] = 200;
    out.Write("length-past-end", WithControl(ListControl(false, false, false, 0), lying));

    const std::string carets = "before ^first^ mid ^^ ^third^ ^open";
    out.Write("caret-text", WithControl(ListControl(true, false, true, 4), Bytes(carets.begin(), carets.end())));
    out.Write("layout-4", WithControl(ListControl(false, true, false, 0), Bytes{0xFC, 0xFF, 1, 0, 1, 'x', 0}));
    out.Write("one-byte", WithControl(ListControl(false, false, false, 0), Bytes{0xFD}));
}

Bytes ShortDrawGroup(uint16_t version)
{
    ByteWriter out;
    out.u16le(version);
    out.u16le(2);
    for (uint8_t image = 0; image < 2; ++image) {
        out.u16le(2);
        out.u8(image == 0 ? 1 : 16);
        out.u8(image == 0 ? 0xFF : 3);
        for (uint16_t tag : {uint16_t{0xFFFD}, uint16_t{1}}) {
            for (uint16_t v : {tag, uint16_t{0xFF00}, uint16_t{7}, uint16_t{0x8000}, uint16_t{0xFFFE}, uint16_t{12}})
                out.u16le(v);
            if (version >= 20001)
                out.u32le(std::bit_cast<uint32_t>(0.5f));
        }
    }
    return out.take();
}

Bytes LongDrawGroup(uint16_t version)
{
    ByteWriter out;
    out.u16le(version);
    out.u32le(2);
    for (uint32_t image = 0; image < 2; ++image) {
        out.u32le(image == 0 ? 64 : 4);
        out.u32le(image + 1);
        out.u32le(image);
        for (uint32_t s = 0; s < image; ++s) {
            for (uint32_t v : {0xFFFFFF00u, 1u, 0xFFFFFFFFu, 3u, std::bit_cast<uint32_t>(1.25f), 8u})
                out.u32le(v);
            if (version >= 20004) {
                out.u32le(0x7FC00000);
                out.u32le(std::bit_cast<uint32_t>(-3.0f));
            }
        }
    }
    return out.take();
}

void WriteDrawGroupSeeds(SeedWriter& out)
{
    for (uint16_t version : {20000, 20001, 20002})
        out.Write("short-" + std::to_string(version), ShortDrawGroup(version));
    for (uint16_t version : {20003, 20004, 20005})
        out.Write("long-" + std::to_string(version), LongDrawGroup(version));
    const Bytes full = LongDrawGroup(20004);
    out.Write("long-cut", Prefix(full, full.size() - 3));
    Bytes lying = full;
    PutU32le(lying, 2, 0x7FFFFFFF);
    out.Write("long-lying-count", lying);
    Bytes negative = ShortDrawGroup(20001);
    negative[2] = 0xFF;
    negative[3] = 0xFF;
    out.Write("short-negative-count", negative);
}

// An edit script for fuzz_iff_edit: 4 bytes per edit, then the count byte.
Bytes WithEdits(Bytes file, const std::vector<std::array<uint8_t, 4>>& edits)
{
    for (const auto& edit : edits)
        file.insert(file.end(), edit.begin(), edit.end());
    file.push_back(static_cast<uint8_t>(edits.size() - 1));
    return file;
}

// Damages for fuzz_iff_edit, applied before the edits: 4 bytes each, their
// count in bits 3-5 of the count byte.
Bytes WithDamages(Bytes file, const std::vector<std::array<uint8_t, 4>>& damages,
                  const std::vector<std::array<uint8_t, 4>>& edits)
{
    for (const auto& damage : damages)
        file.insert(file.end(), damage.begin(), damage.end());
    Bytes input = WithEdits(std::move(file), edits);
    input.back() = static_cast<uint8_t>(input.back() | (damages.size() << 3));
    return input;
}

// Files damaged the ways old disks and tools damage them, then edited. The
// small object's chunks: 0 OBJD 128, 1 OBJD 129, 2 STR# 128, 3 BHAV 4096,
// 4 SPR2 256, 5 PALT 256, 6 the map; its map lists them in that order. With
// free space: 6 and 7 free, 8 CTSS 2000, 9 free (12000 bytes), 10 the map.
void WriteDamagedEditSeeds(SeedWriter& out, const Bytes& withMap, const Bytes& withFreeSpace)
{
    // Damage kinds: 0 flip flags, 1 mark free, 2 lying size, 3 map entry moved,
    // 4 chunk nested in another, 5 map offset moved.
    out.Write("damaged-live-chunk-flagged-free",
              WithDamages(withMap, {{0, 0, 0, 0}}, {{0, 0, 216, 0}, {0, 1, 24, 0}, {6, 0, 0, 0}}));
    out.Write("damaged-free-chunk-unflagged", WithDamages(withFreeSpace, {{0, 6, 0, 0}}, {{0, 0, 24, 0}, {3, 0, 9, 0}}));
    out.Write("damaged-size-spans-next",
              WithDamages(withMap, {{2, 2, 0, 0}}, {{2, 2, 0, 0}, {4, 2, 0, 0}, {0, 0, 187, 0}}));
    out.Write("damaged-overlapping-chunks", WithDamages(withMap, {{2, 0, 2, 3}}, {{2, 0, 0, 0}, {2, 1, 0, 0}}));
    out.Write("damaged-size-cut-short", WithDamages(withMap, {{2, 3, 1, 2}}, {{0, 0, 40, 0}, {3, 4, 20, 0}}));
    out.Write("damaged-map-into-chunk", WithDamages(withMap, {{3, 3, 0, 10}}, {{4, 3, 0, 0}, {0, 0, 100, 0}}));
    out.Write("damaged-nested-chunk",
              WithDamages(withMap, {{4, 2, 0, 8}}, {{2, 2, 0, 0}, {5, 2, 3, 1}, {3, 2, 4, 0}, {0, 0, 50, 0}}));
    out.Write("damaged-free-chunk-spanning-live",
              WithDamages(withMap, {{1, 1, 0, 0}, {2, 1, 0, 2}}, {{0, 0, 0x90, 0x01}, {0, 1, 24, 0}, {4, 0, 0, 0}}));
    // The string list written into the 12000-byte free chunk, and the map pointing at it.
    out.Write("damaged-nested-in-free-chunk",
              WithDamages(withFreeSpace, {{4, 2, 9, 20}}, {{0, 0, 0xFF, 0x02}, {0, 2, 0x90, 0x01}}));
    out.Write("damaged-map-offset-at-string-list",
              WithDamages(withMap, {{5, 2, 0, 0}, {0, 4, 0, 0}}, {{0, 0, 90, 0}, {5, 1, 2, 2}}));
}

void WriteIffEditSeeds(SeedWriter& out)
{
    // Edit kinds: 0 add, 1 add unwritten, 2 rewrite, 3 resize, 4 remove, 5 rename, 6 update.
    const Bytes withMap = SmallObject().Build(IffBuilder::Map::Written);
    out.Write("every-kind", WithEdits(withMap, {{0, 0, 1, 20}, {1, 1, 2, 30}, {2, 2, 3, 0}, {3, 3, 40, 0},
                                                 {4, 4, 0, 0}, {5, 0, 9, 7}, {6, 0, 0, 0}, {3, 1, 200, 1}}));
    out.Write("grow-big", WithEdits(withMap, {{3, 0, 255, 2}, {3, 1, 255, 2}, {0, 0, 5, 0x90}}));
    out.Write("no-map", WithEdits(SmallObject().Build(IffBuilder::Map::None), {{0, 0x81, 3, 0x41}, {4, 2, 0, 0}}));

    // Enough free space to compact at close, in pieces that allocations merge and split.
    IffBuilder freed = SmallObject();
    freed.AddFreeChunk(100);
    freed.AddFreeChunk(200);
    freed.AddChunk(kTypeCTSS, 2000, "catalog", Pattern(50, 7));
    freed.AddFreeChunk(12000);
    out.Write("free-space", WithEdits(freed.Build(IffBuilder::Map::Written),
                                      {{0, 0, 1, 1}, {0, 1, 2, 2}, {3, 6, 10, 0}, {4, 0, 0, 0}}));

    Bytes version20 = withMap;
    version20[kIffMinorDigitPos] = '0';
    out.Write("version-2.0", WithEdits(version20, {{5, 1, 3, 3}}));

    // A readable chunk header with an impossible size after the last chunk.
    Bytes broken = freed.Build(IffBuilder::Map::None);
    Bytes junk(kChunkHeaderSize, 0);
    junk[0] = 'J';
    junk[7] = 10;
    broken.insert(broken.end(), junk.begin(), junk.end());
    // The add does not fit the free space, so it goes behind the damaged header; the close compacts.
    out.Write("broken-chain", WithEdits(broken, {{0, 0, 60, 0x80}, {2, 0, 1, 0}}));

    Bytes stale = withMap;
    PutU32be(stale, kIffMapOffsetPos, kIffHeaderSize);
    out.Write("map-offset-at-objd", WithEdits(stale, {{0, 0, 1, 0}}));

    WriteDamagedEditSeeds(out, withMap, freed.Build(IffBuilder::Map::Written));
}

// PNGs of every channel layout the encoder writes, cut short, with a broken
// checksum, and with headers claiming no pixels or too many.
void WritePngSeeds(SeedWriter& out)
{
    auto encode = [](uint32_t width, uint32_t height, PngChannels channels) {
        PngImage image;
        image.width = width;
        image.height = height;
        image.channels = channels;
        image.pixels = Pattern(image.RowBytes() * height, static_cast<uint8_t>(width * 16 + height));
        Bytes png;
        std::string error;
        if (!EncodePng(image, png, error))
            std::fprintf(stderr, "cannot encode a seed PNG: %s\n", error.c_str());
        return png;
    };
    out.Write("grey", encode(3, 2, PngChannels::Grey));
    out.Write("grey-alpha", encode(2, 2, PngChannels::GreyAlpha));
    out.Write("rgba", encode(7, 3, PngChannels::Rgba));
    const Bytes rgb = encode(40, 30, PngChannels::Rgb);
    out.Write("rgb", rgb);
    out.Write("rgb-cut", Prefix(rgb, rgb.size() / 2));

    // The header chunk: length, "IHDR", width and height at bytes 16 and 20, its CRC at 29.
    constexpr size_t kWidthPos = 16;
    constexpr size_t kHeaderCrcPos = 29;
    auto withSize = [&](uint32_t width, uint32_t height) {
        Bytes png = rgb;
        PutU32be(png, kWidthPos, width);
        PutU32be(png, kWidthPos + 4, height);
        PutU32be(png, kHeaderCrcPos, static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
        return png;
    };
    out.Write("claims-too-many-pixels", withSize(40000, 40000));
    out.Write("claims-no-pixels", withSize(0, 30));
    Bytes badCrc = rgb;
    badCrc[kHeaderCrcPos + 3] ^= 0xFF;
    out.Write("bad-header-crc", badCrc);
    Bytes badData = rgb;
    badData[badData.size() - 20] ^= 0x55;
    out.Write("bad-image-data", badData);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    SeedWriter iff(root / "fuzz_iff_open");
    WriteIffSeeds(iff);
    SeedWriter map(root / "fuzz_map_record");
    WriteMapRecordSeeds(map);
    SeedWriter far(root / "fuzz_far_mount");
    WriteFarSeeds(far);
    SeedWriter lists(root / "fuzz_string_list");
    WriteStringListSeeds(lists);
    SeedWriter groups(root / "fuzz_draw_group");
    WriteDrawGroupSeeds(groups);
    SeedWriter edits(root / "fuzz_iff_edit");
    WriteIffEditSeeds(edits);
    SeedWriter pngs(root / "fuzz_png_decode");
    WritePngSeeds(pngs);
    return iff.Ok() && map.Ok() && far.Ok() && lists.Ok() && groups.Ok() && edits.Ok() && pngs.Ok() ? 0 : 1;
}
