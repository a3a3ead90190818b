// Reading IFF containers: the header check, the map and the scan, lookups and loading.

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"
#include "resfile/CTGIffFile.h"
#include "tests/resfile/IffTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zelvane;
using namespace zelvane::test;

namespace {

struct Listed {
    ResType type;
    int32_t id;
    std::string label;
    uint32_t offset;
    bool operator==(const Listed&) const = default;
};

std::vector<Listed> Listing(const CTGIffFile& file)
{
    std::vector<Listed> all;
    for (const IffTypeGroup& g : file.Index().groups)
        for (const IffEntry& e : g.entries)
            all.push_back({g.type, e.id, e.label, e.offset});
    return all;
}

class IffRead : public ::testing::Test {
protected:
    std::string Write(const std::vector<uint8_t>& bytes)
    {
        WriteBytes(path_, bytes);
        return path_;
    }
    TempDir dir_;
    std::string path_ = dir_.File("object.iff");
};

} // namespace

TEST_F(IffRead, MapAndScanGiveTheSameIndexWithoutTheMapChunk)
{
    Write(SmallObjectFile(IffBuilder::Map::Written));
    CTGIffFile byMap, byScan;
    ASSERT_EQ(byMap.OpenContainer(path_), kResOk);
    EXPECT_EQ(byMap.IndexSourceUsed(), IndexSource::Map);
    ASSERT_EQ(byScan.OpenContainer(path_, IndexMode::ForceScan), kResOk);
    EXPECT_EQ(byScan.IndexSourceUsed(), IndexSource::Scan);
    EXPECT_EQ(Listing(byMap), Listing(byScan));
    EXPECT_EQ(byMap.CountTypes(), 3);
    EXPECT_EQ(byMap.CountResources(kTypeMap), 0);
    EXPECT_EQ(byMap.CountResources(kTypeSTRList), 2);
}

TEST_F(IffRead, HeaderCheckAcceptsOnlyVersions20And25AndAnyMakerName)
{
    std::vector<uint8_t> bytes = SmallObjectFile(IffBuilder::Map::Written);
    std::memcpy(bytes.data() + 36, "SomeOtherMaker", 14);
    CTGIffFile file;
    ASSERT_EQ(file.OpenContainer(Write(bytes)), kResOk);
    EXPECT_EQ(file.CloseContainer(), kResOk);

    bytes[11] = '7';
    EXPECT_EQ(file.OpenContainer(Write(bytes)), kErrNotIff);
    EXPECT_FALSE(file.IsOpen());
    bytes[11] = '5';
    bytes[20] = 'x';
    EXPECT_EQ(file.OpenContainer(Write(bytes)), kErrNotIff);
    EXPECT_EQ(file.OpenContainer(Write({1, 2, 3})), kErrNotIff);
    EXPECT_EQ(file.OpenContainer(dir_.File("missing.iff")), kErrCannotOpen);
}

TEST_F(IffRead, Version20AndMapOffsetZeroAreScanned)
{
    std::vector<uint8_t> bytes = SmallObjectFile(IffBuilder::Map::None);
    bytes[11] = '0';
    bytes[60] = bytes[61] = bytes[62] = bytes[63] = 0x55; // ignored in 2.0
    CTGIffFile file;
    ASSERT_EQ(file.OpenContainer(Write(bytes)), kResOk);
    EXPECT_EQ(file.IndexSourceUsed(), IndexSource::Scan);
    EXPECT_EQ(file.CountResources(kTypeSTRList), 2);
    EXPECT_EQ(file.CloseContainer(), kResOk);
    ASSERT_EQ(file.OpenContainer(Write(SmallObjectFile(IffBuilder::Map::None))), kResOk);
    EXPECT_EQ(file.IndexSourceUsed(), IndexSource::Scan);
}

TEST_F(IffRead, UnusableMapsFallBackToTheScan)
{
    const std::vector<uint8_t> good = SmallObjectFile(IffBuilder::Map::Written);
    ByteReader header(good);
    header.seek(kIffMapOffsetPos);
    const uint32_t mapOffset = header.u32be();
    auto withMap = [&](auto&& change) {
        std::vector<uint8_t> bytes = good;
        change(bytes);
        CTGIffFile file;
        EXPECT_EQ(file.OpenContainer(Write(bytes)), kResOk);
        EXPECT_EQ(file.IndexSourceUsed(), IndexSource::Scan);
        EXPECT_EQ(file.CountResources(kTypeSTRList), 2);
    };
    withMap([&](auto& b) { b[60] = 0x7F; });                               // offset past the end
    withMap([&](auto& b) { b[mapOffset] = 'X'; });                         // not an rsmp chunk
    withMap([&](auto& b) { b[mapOffset + 11] |= 0x04; });                  // a free chunk
    withMap([&](auto& b) { b[mapOffset + 4] = 0x30; });                    // size beyond the file
    withMap([&](auto& b) { b[mapOffset + 76 + 16] = 0xFF; b[mapOffset + 76 + 19] = 0x7F; }); // absurd type count
    withMap([&](auto& b) { b.resize(b.size() - 5); });                     // map cut short
    // A map that lists itself is stale.
    withMap([&](auto& b) {
        ByteSpanWriter w(b);
        w.seek(mapOffset + 76 + 20);
        w.u32le(kTypeMap);
    });
}

TEST_F(IffRead, DamagedChainsYieldTheChunksBeforeTheDamage)
{
    std::vector<uint8_t> bytes = SmallObjectFile(IffBuilder::Map::None);
    CTGIffFile file;
    // Cut in the middle of the last chunk's header.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 64 + 76 + 216 + 76 + 10 + 76 + 3 + 40);
    ASSERT_EQ(file.OpenContainer(Write(cut)), kResOk);
    EXPECT_EQ(file.CountResources(kTypeSTRList), 2);
    EXPECT_EQ(file.CountResources(kTypeSPR2), 0);
    EXPECT_EQ(file.CloseContainer(), kResOk);
    // A size below 76 ends the scan.
    bytes[64 + 76 + 216 + 7] = 10;
    bytes[64 + 76 + 216 + 6] = 0;
    bytes[64 + 76 + 216 + 5] = 0;
    bytes[64 + 76 + 216 + 4] = 0;
    ASSERT_EQ(file.OpenContainer(Write(bytes)), kResOk);
    EXPECT_EQ(file.CountTypes(), 1);
}

TEST_F(IffRead, LoadingChecksTheChunkAndReadsOnce)
{
    std::vector<uint8_t> bytes = SmallObjectFile(IffBuilder::Map::Written);
    CTGIffFile file;
    ASSERT_EQ(file.OpenContainer(Write(bytes)), kResOk);
    ResHandle* objd = file.GetResource(kTypeOBJD, 128, nullptr);
    ASSERT_NE(objd, nullptr);
    EXPECT_EQ(objd->Size(), 216u);
    EXPECT_EQ(objd->Data()[0], 1);
    // Change the file behind the container: a second lookup must not read again.
    bytes[64 + 76] = 9;
    WriteBytes(path_, bytes);
    EXPECT_EQ(file.GetResource(kTypeOBJD, 128, nullptr), objd);
    EXPECT_EQ(objd->Data()[0], 1);

    EXPECT_EQ(file.GetResource(kTypeOBJD, 5, nullptr), nullptr);
    EXPECT_EQ(file.GetLastError(), kErrNoSuchResource);
    EXPECT_EQ(file.GetNamedResource(kTypeSTRList, "nothing", nullptr), nullptr);
    EXPECT_EQ(file.GetLastError(), kErrNoSuchName);
    ResHandle* names = file.GetNamedResource(kTypeSTRList, "names", nullptr);
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(file.GetIndResource(kTypeSTRList, 1, nullptr), names);
    EXPECT_EQ(file.GetIndResource(kTypeSTRList, 3, nullptr), nullptr);
    EXPECT_EQ(file.GetLastError(), kErrNoSuchResource);

    std::string name;
    int16_t id = 0;
    file.GetResName(names, name);
    file.GetResId(names, id);
    EXPECT_EQ(name, "names");
    EXPECT_EQ(id, 128);
    EXPECT_EQ(file.GetResType(names), kTypeSTRList);
    ResHandle* stranger = ResHandle::Create(1);
    EXPECT_EQ(file.GetResType(stranger), 0u);
    EXPECT_EQ(file.GetLastError(), kErrNoSuchResource);
    EXPECT_TRUE(file.IsConverted(stranger));
    EXPECT_EQ(file.GetLastError(), kErrNoSuchName);
    ResHandle::Dispose(stranger);
}

TEST_F(IffRead, MapsPointingAtTheWrongChunkOrPastTheFileFailTheLoad)
{
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 1, "", Filled(20, 1));
    b.AddChunk(kTypeSTRList, 1, "", Filled(20, 1));
    std::vector<uint8_t> bytes = b.Build(IffBuilder::Map::Written);
    // Swap the two types in the chunk headers: the map now disagrees with both.
    std::memcpy(bytes.data() + 64, "STR#", 4);
    std::memcpy(bytes.data() + 64 + 96, "OBJD", 4);
    CTGIffFile file;
    ASSERT_EQ(file.OpenContainer(Write(bytes)), kResOk);
    ASSERT_EQ(file.IndexSourceUsed(), IndexSource::Map);
    EXPECT_EQ(file.GetResource(kTypeOBJD, 1, nullptr), nullptr);
    EXPECT_EQ(file.GetLastError(), kErrChunkMismatch);
    EXPECT_EQ(file.CloseContainer(), kResOk);

    // A chunk that claims a gigabyte in a small file is refused before anything is allocated.
    bytes = b.Build(IffBuilder::Map::Written);
    bytes[64 + 4] = 0x3F;
    ASSERT_EQ(file.OpenContainer(Write(bytes)), kResOk);
    EXPECT_EQ(file.GetResource(kTypeOBJD, 1, nullptr), nullptr);
    EXPECT_EQ(file.GetLastError(), kErrShortRead);
}

TEST_F(IffRead, ConvertCallbackRunsOnlyOnUnconvertedData)
{
    CTGIffFile file;
    ASSERT_EQ(file.OpenContainer(Write(SmallObjectFile(IffBuilder::Map::Written))), kResOk);
    static int calls;
    calls = 0;
    const ConvertProc bump = [](uint8_t* data, uint32_t) { ++calls; data[0] = 0x77; };
    ResHandle* converted = file.GetResource(kTypeSTRList, 128, bump); // stored with 0x10
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(file.IsConverted(converted));
    ResHandle* raw = file.GetResource(kTypeSTRList, 129, bump);       // stored with 0
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(raw->Data()[0], 0x77);
    EXPECT_TRUE(file.IsConverted(raw));
    file.GetResource(kTypeSTRList, 129, bump);
    EXPECT_EQ(calls, 1);
}

TEST_F(IffRead, TypeIndexUniqueIdsAndNames)
{
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 5, "a", Filled(1, 0));
    b.AddChunk(kTypeOBJD, 200, "a0", Filled(1, 0));
    b.AddChunk(kTypeSTRList, -3, "x", Filled(1, 0));
    b.AddChunk(kTypeBHAV, 32767, "", Filled(1, 0));
    b.AddChunk(kTypeBHAV, 129, "", Filled(1, 0));
    CTGIffFile file;
    ASSERT_EQ(file.OpenContainer(Write(b.Build(IffBuilder::Map::Written))), kResOk);
    EXPECT_EQ(file.GetIndType(0), 0u);
    EXPECT_EQ(file.GetLastError(), kErrTypeIndexRange);
    EXPECT_EQ(file.GetIndType(file.CountTypes() + 1), 0u);
    EXPECT_EQ(file.GetLastError(), kErrTypeIndexRange);
    EXPECT_EQ(file.GetIndType(1), kTypeOBJD);

    EXPECT_EQ(file.UniqueId(kTypeOBJD), 201);
    EXPECT_EQ(file.UniqueId(kTypeSTRList), 129);
    EXPECT_EQ(file.UniqueId(kTypeDGRP), 129);
    EXPECT_EQ(file.UniqueId(kTypeBHAV), 130); // 32767 + 1 would wrap to a negative id

    std::string name = "a";
    file.MakeUniqueName(kTypeOBJD, name);
    EXPECT_EQ(name, "a1");
    name = "fresh";
    file.MakeUniqueName(kTypeOBJD, name);
    EXPECT_EQ(name, "fresh");
}

TEST_F(IffRead, ClosedContainersAnswerNotOpen)
{
    CTGIffFile file;
    EXPECT_EQ(file.GetResource(kTypeOBJD, 1, nullptr), nullptr);
    EXPECT_EQ(file.GetLastError(), kErrNotOpen);
    EXPECT_EQ(file.CountTypes(), 0);
    EXPECT_EQ(file.GetLastError(), kErrNotOpen);
    EXPECT_EQ(file.CloseContainer(), kErrNotOpen);
    EXPECT_EQ(file.Resume(), kErrCannotOpen);
    ASSERT_EQ(file.OpenContainer(Write(SmallObjectFile(IffBuilder::Map::Written))), kResOk);
    EXPECT_EQ(file.OpenContainer(path_), kErrAlreadyOpen);
    EXPECT_EQ(file.Suspend(), kResOk);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Resume(), kResOk);
    EXPECT_EQ(file.CountResources(kTypeSTRList), 2);
}
