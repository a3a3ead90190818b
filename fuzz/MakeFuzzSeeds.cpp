// Writes the seed inputs of the fuzz targets: small valid files built with
// IffBuilder and FarBuilder, and damaged variants of them that reach the
// readers' error paths (truncations, stale maps, lying counts and offsets).
// Usage: make_fuzz_seeds CORPUS_FOLDER (one sub-folder per target is made).

#include "CTGRecord.h"
#include "FarBuilder.h"
#include "IffBuilder.h"
#include "IffIndex.h"
#include "IffLayout.h"
#include "ResourceMapRecord.h"
#include "ResType.h"

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

uint32_t GetU32be(const Bytes& b, size_t at)
{
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}
uint32_t GetU32le(const Bytes& b, size_t at)
{
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}
void PutU32be(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
void PutU32le(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
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
    return iff.Ok() && map.Ok() && far.Ok() ? 0 : 1;
}
