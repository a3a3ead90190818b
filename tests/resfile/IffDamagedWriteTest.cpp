// Editing damaged object files: whatever a file's headers and map claim, an
// edit never overwrites a resource that read before it, and free space is
// only what is marked free and claimed by nobody.

#include "bytes/ByteSpanWriter.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffClaims.h"
#include "tests/resfile/IffTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

// Fields of a chunk header, from its start.
constexpr size_t kSizeField = 4;
constexpr size_t kFlagsField = 10;

void PutU16be(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    ByteSpanWriter out(bytes);
    out.seek(at);
    out.u16be(value);
    ASSERT_TRUE(out.ok()) << "offset " << at << " is outside the file";
}

void PutU32be(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    ByteSpanWriter out(bytes);
    out.seek(at);
    out.u32be(value);
    ASSERT_TRUE(out.ok()) << "offset " << at << " is outside the file";
}

std::vector<uint8_t> Pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 11 + (i >> 7));
    return bytes;
}

// A whole chunk, header and data, as it would be written into another chunk's data.
std::vector<uint8_t> ChunkBytes(ResType type, int16_t id, std::string_view label, const std::vector<uint8_t>& data)
{
    ChunkHeader header;
    header.type = type;
    header.size = static_cast<uint32_t>(data.size()) + kChunkHeaderSize;
    header.id = id;
    header.flags = kChunkFlagConverted;
    header.label = std::string(label);
    const ChunkHeaderBytes head = EncodeChunkHeader(header);
    std::vector<uint8_t> bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

using Key = ResourceKey;

std::map<Key, Readout> ReadAll(const std::string& path)
{
    std::optional<std::map<Key, Readout>> all = ReadEveryResource(path);
    EXPECT_TRUE(all) << path << " does not open";
    return all.value_or(std::map<Key, Readout>{});
}

// Every resource of `before` but those named reads the same bytes under the same name.
void ExpectKept(const std::map<Key, Readout>& before, const std::map<Key, Readout>& after,
                std::initializer_list<Key> edited = {})
{
    for (const auto& [key, old] : before) {
        if (std::find(edited.begin(), edited.end(), key) != edited.end())
            continue;
        const auto now = after.find(key);
        const std::string what = ResTypeName(std::get<0>(key)) + " " + std::to_string(std::get<1>(key));
        ASSERT_NE(now, after.end()) << what << " no longer reads";
        EXPECT_EQ(now->second.data, old.data) << what << " reads other bytes";
        EXPECT_EQ(now->second.name, old.name) << what;
    }
}

ResHandle* AddAndWrite(CTGIffFile& file, ResType type, int16_t id, const std::vector<uint8_t>& data)
{
    ResHandle* handle = ResHandle::CreateFrom(data);
    EXPECT_EQ(file.AddResource(handle, type, id, "added", ResConverted::Yes), kResOk);
    EXPECT_EQ(file.WriteResource(handle), kResOk);
    return handle;
}

void Overwrite(ResHandle* handle, const std::vector<uint8_t>& data)
{
    ASSERT_TRUE(handle->Resize(static_cast<uint32_t>(data.size())));
    std::copy(data.begin(), data.end(), handle->Data());
}

class IffDamaged : public ::testing::Test {
protected:
    std::string Save(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = dir_.File(name);
        WriteBytes(path, bytes);
        return path;
    }
    TempDir dir_;
};

} // namespace

TEST(IffClaimsTest, OverlappingClaimsAreCountedAndReleasedOneByOne)
{
    IffClaims claims;
    claims.ClaimForEntry(kTypeOBJD, 100, 300);
    claims.ClaimForEntry(kTypeSTRList, 300, 400);
    EXPECT_TRUE(claims.OnceEach(100, 400));
    EXPECT_FALSE(claims.AnyIn(0, 100));
    EXPECT_TRUE(claims.AnyIn(99, 101));
    EXPECT_FALSE(claims.AnyIn(400, 500));

    claims.ClaimForEntry(kTypeSPR2, 250, 350);
    EXPECT_FALSE(claims.OnceEach(100, 300));
    EXPECT_TRUE(claims.OnceEach(100, 250));
    EXPECT_FALSE(claims.OnceEach(340, 400));
    claims.ReleaseEntry(kTypeSPR2, 250, ClaimRelease::FreeBytes);
    EXPECT_TRUE(claims.OnceEach(100, 400));

    // A chunk that was not freed keeps its bytes claimed.
    claims.ReleaseEntry(kTypeOBJD, 100, ClaimRelease::KeepBytes);
    EXPECT_FALSE(claims.HasEntry(kTypeOBJD, 100));
    EXPECT_TRUE(claims.OnceEach(100, 300));
    claims.ReleaseEntry(kTypeSTRList, 300, ClaimRelease::FreeBytes);
    claims.ReleaseEntry(kTypeSTRList, 300, ClaimRelease::FreeBytes); // no second claim: nothing happens
    EXPECT_FALSE(claims.AnyIn(300, 400));
    EXPECT_EQ(claims.End(), 300u);
}

TEST_F(IffDamaged, ALiveChunkFlaggedFreeIsNeitherReusedNorDroppedNorCounted)
{
    // The map still lists the OBJD; only its header carries the free flag.
    for (const bool compaction : {false, true}) {
        SCOPED_TRACE(compaction ? "with enough free space to compact" : "without free space");
        IffBuilder b;
        const uint32_t objd = b.AddChunk(kTypeOBJD, 128, "chair", Pattern(216, 1));
        b.AddChunk(kTypeSTRList, 128, "names", Pattern(40, 2));
        if (compaction)
            b.AddFreeChunk(12000);
        b.AddChunk(kTypeSPR2, 200, "sprite", Pattern(500, 3), 0);
        std::vector<uint8_t> bytes = b.Build(IffBuilder::Map::Written);
        PutU16be(bytes, objd + kFlagsField, kChunkFlagConverted | kChunkFlagFree);
        const std::string path = Save(compaction ? "flagged-compact.iff" : "flagged.iff", bytes);

        {
            CTGIffFile scan;
            ASSERT_EQ(scan.OpenContainer(path, IndexMode::ForceScan), kResOk);
            EXPECT_EQ(scan.Index().freeBytes, compaction ? 12000u : 0u);
        }
        const auto before = ReadAll(path);
        ASSERT_EQ(before.count({kTypeOBJD, 128, 0}), 1u);
        CTGIffFile file;
        ASSERT_EQ(file.OpenContainer(path), kResOk);
        AddAndWrite(file, kTypeBHAV, 1, Pattern(216, 9)); // exactly the flagged chunk's size
        AddAndWrite(file, kTypeBHAV, 2, Pattern(24, 8));  // small enough to split it
        ASSERT_EQ(file.CloseContainer(), kResOk);

        const auto after = ReadAll(path);
        ExpectKept(before, after);
        EXPECT_EQ(after.at({kTypeBHAV, 1, 0}).data, Pattern(216, 9));
        EXPECT_EQ(after.at({kTypeBHAV, 2, 0}).data, Pattern(24, 8));
        if (compaction) {
            EXPECT_LT(std::filesystem::file_size(path), bytes.size()) << "the free space was not compacted away";
        }
    }
}

TEST_F(IffDamaged, AChunkWhoseSizeSpansTheNextKeepsItsNeighbourIntact)
{
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 128, "chair", Pattern(216, 1));
    const uint32_t strings = b.AddChunk(kTypeSTRList, 128, "names", Pattern(100, 2));
    b.AddChunk(kTypeSPR2, 200, "sprite", Pattern(500, 3), 0);
    b.AddChunk(kTypeBHAV, 4096, "main", Pattern(30, 4));
    std::vector<uint8_t> bytes = b.Build(IffBuilder::Map::Written);
    // The string list now reaches over the sprite, which the map still lists.
    const uint32_t lyingSize = (100 + 76) + (500 + 76);
    PutU32be(bytes, strings + kSizeField, lyingSize);
    const Key stringsKey{kTypeSTRList, 128, 0};

    for (const bool removeFirst : {false, true}) {
        SCOPED_TRACE(removeFirst ? "removed, then space asked for" : "rewritten at its size");
        const std::string path = Save(removeFirst ? "span-remove.iff" : "span-rewrite.iff", bytes);
        const auto before = ReadAll(path);
        ASSERT_EQ(before.at(stringsKey).data.size(), lyingSize - 76);
        CTGIffFile file;
        ASSERT_EQ(file.OpenContainer(path), kResOk);
        ResHandle* list = file.GetResource(kTypeSTRList, 128, nullptr);
        ASSERT_NE(list, nullptr);
        if (removeFirst) {
            ASSERT_EQ(file.RemoveResource(list), kResOk);
            AddAndWrite(file, kTypeBHAV, 1, Pattern(lyingSize - 76, 5)); // would fill the freed chunk exactly
        } else {
            Overwrite(list, Pattern(lyingSize - 76, 6));
            ASSERT_EQ(file.WriteResource(list), kResOk);
        }
        ASSERT_EQ(file.CloseContainer(), kResOk);

        const auto after = ReadAll(path);
        ExpectKept(before, after, {stringsKey});
        if (removeFirst)
            EXPECT_EQ(after.count(stringsKey), 0u);
        else
            EXPECT_EQ(after.at(stringsKey).data, Pattern(lyingSize - 76, 6));
    }
}

TEST_F(IffDamaged, OverlappingChunksAreNotRewrittenOverEachOther)
{
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 128, "chair", Pattern(216, 1));
    const uint32_t first = b.AddChunk(kTypeBHAV, 4096, "first", Pattern(300, 2));
    // Zeros: the chunk walk stops where the first chunk's lying size ends, inside the second.
    b.AddChunk(kTypeBHAV, 4097, "second", Filled(200, 0));
    std::vector<uint8_t> bytes = b.Build(IffBuilder::Map::Written);
    // The first chunk reaches 100 bytes into the second: its header and 24 bytes of data.
    PutU32be(bytes, first + kSizeField, 376 + 100);

    for (const int16_t edited : {4096, 4097}) {
        SCOPED_TRACE(edited);
        const std::string path = Save("overlap-" + std::to_string(edited) + ".iff", bytes);
        const auto before = ReadAll(path);
        ASSERT_EQ(before.size(), 3u);
        CTGIffFile file;
        ASSERT_EQ(file.OpenContainer(path), kResOk);
        ResHandle* handle = file.GetResource(kTypeBHAV, edited, nullptr);
        ASSERT_NE(handle, nullptr);
        const std::vector<uint8_t> changed = Pattern(handle->Size(), 7);
        Overwrite(handle, changed); // the same size: a rewrite in place would reach into the other
        ASSERT_EQ(file.WriteResource(handle), kResOk);
        ASSERT_EQ(file.CloseContainer(), kResOk);

        const auto after = ReadAll(path);
        ExpectKept(before, after, {{kTypeBHAV, edited, 0}});
        EXPECT_EQ(after.at({kTypeBHAV, edited, 0}).data, changed);
    }
}

TEST_F(IffDamaged, AResourceListedInsideAnotherChunkIsEditedElsewhere)
{
    // The OBJD's data holds a whole string list chunk, and the map lists that too.
    std::vector<uint8_t> objdData = Pattern(40, 1);
    const std::vector<uint8_t> inner = ChunkBytes(kTypeSTRList, 129, "inner", Pattern(60, 2));
    objdData.insert(objdData.end(), inner.begin(), inner.end());
    const std::vector<uint8_t> tail = Pattern(40, 3);
    objdData.insert(objdData.end(), tail.begin(), tail.end());
    IffBuilder b;
    const uint32_t objd = b.AddChunk(kTypeOBJD, 128, "chair", objdData);
    b.AddChunk(kTypeSPR2, 200, "sprite", Pattern(300, 4), 0);
    b.ListInMap(kTypeSTRList, 129, "inner", objd + kChunkHeaderSize + 40);
    const std::vector<uint8_t> bytes = b.Build(IffBuilder::Map::Written);
    const Key innerKey{kTypeSTRList, 129, 0};

    enum class Edit { SameSize, Grow, Remove, Rename };
    for (const Edit edit : {Edit::SameSize, Edit::Grow, Edit::Remove, Edit::Rename}) {
        SCOPED_TRACE(static_cast<int>(edit));
        const std::string path = Save("inner-" + std::to_string(static_cast<int>(edit)) + ".iff", bytes);
        const auto before = ReadAll(path);
        ASSERT_EQ(before.at(innerKey).data, Pattern(60, 2));
        CTGIffFile file;
        ASSERT_EQ(file.OpenContainer(path), kResOk);
        ResHandle* handle = file.GetResource(kTypeSTRList, 129, nullptr);
        ASSERT_NE(handle, nullptr);
        switch (edit) {
        case Edit::SameSize: Overwrite(handle, Pattern(60, 5)); break;
        case Edit::Grow: Overwrite(handle, Pattern(90, 5)); break;
        case Edit::Remove: ASSERT_EQ(file.RemoveResource(handle), kResOk); break;
        case Edit::Rename: ASSERT_EQ(file.SetResInfo(handle, 129, "renamed", 0), kResOk); break;
        }
        if (edit == Edit::SameSize || edit == Edit::Grow) {
            ASSERT_EQ(file.WriteResource(handle), kResOk);
        }
        ASSERT_EQ(file.CloseContainer(), kResOk);

        const auto after = ReadAll(path);
        ExpectKept(before, after, {innerKey});
        switch (edit) {
        case Edit::SameSize: EXPECT_EQ(after.at(innerKey).data, Pattern(60, 5)); break;
        case Edit::Grow: EXPECT_EQ(after.at(innerKey).data, Pattern(90, 5)); break;
        case Edit::Remove: EXPECT_EQ(after.count(innerKey), 0u); break;
        case Edit::Rename:
            EXPECT_EQ(after.at(innerKey).name, "renamed");
            EXPECT_EQ(after.at(innerKey).data, Pattern(60, 2));
            break;
        }
    }
}

TEST_F(IffDamaged, AFreeChunkSpanningLiveOnesIsNotReusedMergedOrCounted)
{
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 128, "chair", Pattern(216, 1));
    const uint32_t small = b.AddFreeChunk(100);
    const uint32_t spanning = b.AddFreeChunk(76);
    b.AddChunk(kTypeSTRList, 128, "names", Pattern(200, 2));
    b.AddChunk(kTypeSPR2, 200, "sprite", Pattern(300, 3), 0);
    std::vector<uint8_t> bytes = b.Build(IffBuilder::Map::Written);
    // The second free chunk now reaches over both resources, which the map still lists.
    const uint32_t spanSize = 76 + (200 + 76) + (300 + 76);
    PutU32be(bytes, spanning + kSizeField, spanSize);
    const std::string path = Save("spanning.iff", bytes);
    const auto before = ReadAll(path);
    ASSERT_EQ(before.size(), 3u);

    CTGIffFile file;
    ASSERT_EQ(file.OpenContainer(path), kResOk);
    // Would fit the two free chunks merged.
    AddAndWrite(file, kTypeBHAV, 1, Pattern(100 + spanSize - 76, 4));
    // Free space that is really free is still used: the walk starts again at the first chunk.
    ASSERT_EQ(file.Suspend(), kResOk);
    ASSERT_EQ(file.Resume(), kResOk);
    AddAndWrite(file, kTypeBHAV, 2, Pattern(100 - 76, 5));
    ASSERT_EQ(file.CloseContainer(), kResOk);

    const auto after = ReadAll(path);
    ExpectKept(before, after);
    EXPECT_EQ(after.at({kTypeBHAV, 1, 0}).data, Pattern(100 + spanSize - 76, 4));
    EXPECT_EQ(after.at({kTypeBHAV, 2, 0}).offset, small);
    CTGIffFile reopened;
    ASSERT_EQ(reopened.OpenContainer(path), kResOk);
    EXPECT_LT(reopened.Index().freeBytes, spanSize) << "the spanning chunk was counted as free";
}
