// Writing IFF containers: chunk reuse, free chunks, compaction, the map at
// close, and what a file looks like when its writer dies.

#include "bytes/ByteReader.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "resfile/FarBuilder.h"
#include "resfile/FileLayerStats.h"
#include "tests/resfile/IffTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

struct ChunkOnDisk {
    uint32_t offset;
    std::string type;
    uint32_t size;
    uint16_t flags;
    bool operator==(const ChunkOnDisk&) const = default;
};

// Every chunk of the file, walked from the first.
std::vector<ChunkOnDisk> Chunks(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    std::vector<ChunkOnDisk> chunks;
    ByteReader r(bytes);
    size_t offset = 64;
    while (true) {
        ByteReader h = r.sub(offset, 76);
        if (!h.ok())
            break;
        const uint32_t type = h.u32be();
        const uint32_t size = h.u32be();
        h.skip(2);
        const uint16_t flags = h.u16be();
        if (size < 76)
            break;
        chunks.push_back({static_cast<uint32_t>(offset), ResTypeName(type), size, flags});
        offset += size;
    }
    return chunks;
}

uint32_t HeaderMapOffset(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    ByteReader r(bytes);
    r.skip(60);
    return r.u32be();
}

class IffWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(file_.CreateContainer(path_), kResOk);
        ASSERT_EQ(file_.OpenContainer(path_), kResOk);
    }
    ResHandle* Add(ResType type, int16_t id, size_t size, uint8_t fill = 0x11, std::string_view name = "")
    {
        ResHandle* h = ResHandle::CreateFrom(Filled(size, fill));
        EXPECT_EQ(file_.AddResource(h, type, id, name, ResConverted::No), kResOk);
        EXPECT_EQ(file_.WriteResource(h), kResOk);
        return h;
    }
    TempDir dir_;
    std::string path_ = dir_.File("work.iff");
    CTGIffFile file_;
};

} // namespace

TEST_F(IffWrite, CreateWritesAnEmptyFileWithMapOffsetZero)
{
    EXPECT_EQ(std::filesystem::file_size(path_), 64u);
    EXPECT_EQ(HeaderMapOffset(path_), 0u);
    CTGIffFile other;
    EXPECT_EQ(other.CreateContainer(path_), kErrCreateExists);
    EXPECT_EQ(file_.CreateContainer(dir_.File("x.iff")), kErrAlreadyOpen);
    EXPECT_EQ(file_.DeleteContainer(path_), kErrAlreadyOpen);
    EXPECT_EQ(other.DeleteContainer(dir_.File("none.iff")), kErrDeleteMissing);
}

TEST_F(IffWrite, SameSizeRewritesInPlaceAndGrowingFreesTheOldChunk)
{
    ResHandle* a = Add(kTypeOBJD, 1, 100);
    Add(kTypeSTRList, 1, 50);
    const uint32_t first = file_.Index().groups[0].entries[0].offset;
    a->Data()[0] = 0x42;
    ASSERT_EQ(file_.WriteResource(a), kResOk);
    EXPECT_EQ(file_.Index().groups[0].entries[0].offset, first);

    ASSERT_TRUE(a->Resize(300));
    ASSERT_EQ(file_.WriteResource(a), kResOk);
    const uint32_t moved = file_.Index().groups[0].entries[0].offset;
    EXPECT_NE(moved, first);
    const std::vector<ChunkOnDisk> chunks = Chunks(path_);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0], (ChunkOnDisk{first, "XXXX", 176, 0x0004}));
    EXPECT_EQ(chunks[2].offset, moved);
    EXPECT_EQ(chunks[2].type, "OBJD");
}

TEST_F(IffWrite, FreeChunksAreMergedTakenWholeOrSplit)
{
    ResHandle* a = Add(kTypeOBJD, 1, 100 - 76);
    ResHandle* b = Add(kTypeOBJD, 2, 200 - 76);
    Add(kTypeOBJD, 3, 10);
    ASSERT_EQ(file_.RemoveResource(a), kResOk);
    ASSERT_EQ(file_.RemoveResource(b), kResOk);
    ASSERT_EQ(file_.Suspend(), kResOk); // resume restarts the next-fit walk at the first chunk
    ASSERT_EQ(file_.Resume(), kResOk);

    ResHandle* split = Add(kTypeSPR2, 1, 100);
    std::vector<ChunkOnDisk> chunks = Chunks(path_);
    EXPECT_EQ(chunks[0], (ChunkOnDisk{64, "SPR2", 176, 0}));
    EXPECT_EQ(chunks[1], (ChunkOnDisk{240, "XXXX", 124, 0x0004}));

    ASSERT_EQ(file_.RemoveResource(split), kResOk);
    ASSERT_EQ(file_.Suspend(), kResOk);
    ASSERT_EQ(file_.Resume(), kResOk);
    Add(kTypeSPR2, 2, 300 - 76);
    chunks = Chunks(path_);
    EXPECT_EQ(chunks[0], (ChunkOnDisk{64, "SPR2", 300, 0}));
    EXPECT_EQ(chunks[1].type, "OBJD");
}

TEST_F(IffWrite, CloseWritesTheMapAndTheHeaderPointsAtIt)
{
    Add(kTypeOBJD, 128, 216, 1, "chair");
    Add(kTypeSTRList, 128, 40, 2, std::string(70, 'n'));
    EXPECT_EQ(HeaderMapOffset(path_), 0u);
    ASSERT_EQ(file_.CloseContainer(), kResOk);
    const uint32_t mapOffset = HeaderMapOffset(path_);
    ASSERT_NE(mapOffset, 0u);
    EXPECT_EQ(Chunks(path_).back(), (ChunkOnDisk{mapOffset, "rsmp", Chunks(path_).back().size, 0x0010}));

    CTGIffFile reopened;
    ASSERT_EQ(reopened.OpenContainer(path_), kResOk);
    EXPECT_EQ(reopened.IndexSourceUsed(), IndexSource::Map);
    ResHandle* strings = reopened.GetResource(kTypeSTRList, 128, nullptr);
    std::string name;
    reopened.GetResName(strings, name);
    EXPECT_EQ(name, std::string(63, 'n'));
    EXPECT_EQ(strings->Size(), 40u);
    // An unchanged container writes nothing at close.
    const auto before = ReadBytes(path_);
    EXPECT_EQ(reopened.CloseContainer(), kResOk);
    EXPECT_EQ(ReadBytes(path_), before);
}

TEST_F(IffWrite, CommitWritesTheMapWhileOpenAndTheNextChangeReusesItsPlace)
{
    ResHandle* chair = Add(kTypeOBJD, 128, 216, 1, "chair");
    EXPECT_EQ(HeaderMapOffset(path_), 0u);
    ASSERT_EQ(file_.CommitContainer(), kResOk);
    const uint32_t mapOffset = HeaderMapOffset(path_);
    ASSERT_NE(mapOffset, 0u);
    EXPECT_EQ(file_.IndexSourceUsed(), IndexSource::Map);
    EXPECT_EQ(file_.CountTypes(), 1) << "the map is no resource of the open file";
    // Nothing changed since: nothing is written.
    const auto committed = ReadBytes(path_);
    ASSERT_EQ(file_.CommitContainer(), kResOk);
    EXPECT_EQ(ReadBytes(path_), committed);

    // Edited and committed again and again, the file does not grow: each new
    // map takes the place the last one leaves.
    uintmax_t size = 0;
    for (int round = 0; round < 30; ++round) {
        chair->Data()[0] = static_cast<uint8_t>(round);
        ASSERT_EQ(file_.WriteResource(chair), kResOk);
        EXPECT_EQ(HeaderMapOffset(path_), 0u) << "changed: read by scanning until committed";
        ASSERT_EQ(file_.CommitContainer(), kResOk);
        if (round == 1)
            size = std::filesystem::file_size(path_);
        if (round > 1) {
            EXPECT_EQ(std::filesystem::file_size(path_), size);
        }
    }
    CTGIffFile copy;
    ASSERT_EQ(copy.OpenContainer(path_), kResOk);
    EXPECT_EQ(copy.IndexSourceUsed(), IndexSource::Map);
    EXPECT_EQ(copy.GetResource(kTypeOBJD, 128, nullptr)->Data()[0], 29);
    EXPECT_EQ(copy.CloseContainer(), kResOk);
    // Closing after a commit has nothing left to write.
    ASSERT_EQ(file_.CloseContainer(), kResOk);
    EXPECT_NE(HeaderMapOffset(path_), 0u);
    EXPECT_EQ(ReadBytes(path_).size(), size);
}

TEST_F(IffWrite, CompactionStartsAt10240FreeBytes)
{
    for (const uint32_t freeBytes : {10239u, 10240u}) {
        SCOPED_TRACE(freeBytes);
        CTGIffFile f;
        const std::string path = dir_.File("c" + std::to_string(freeBytes) + ".iff");
        ASSERT_EQ(f.CreateContainer(path), kResOk);
        ASSERT_EQ(f.OpenContainer(path), kResOk);
        std::vector<ResHandle*> handles;
        for (int16_t id = 1; id <= 3; ++id) {
            handles.push_back(ResHandle::CreateFrom(Filled(freeBytes / 2 - 76 + (id == 1 ? freeBytes % 2 : 0), 5)));
            EXPECT_EQ(f.AddResource(handles.back(), kTypeSPR2, id, "", ResConverted::No), kResOk);
            ASSERT_EQ(f.WriteResource(handles.back()), kResOk);
        }
        ASSERT_EQ(f.RemoveResource(handles[0]), kResOk);
        ASSERT_EQ(f.RemoveResource(handles[1]), kResOk);
        ASSERT_EQ(f.CloseContainer(), kResOk);
        const std::vector<ChunkOnDisk> chunks = Chunks(path);
        const bool compacted = freeBytes >= 10240;
        ASSERT_EQ(chunks.size(), compacted ? 2u : 4u);
        EXPECT_EQ(chunks[compacted ? 0 : 2].type, "SPR2");
        EXPECT_EQ(chunks.back().type, "rsmp");
        CTGIffFile check;
        ASSERT_EQ(check.OpenContainer(path), kResOk);
        ResHandle* kept = check.GetResource(kTypeSPR2, 3, nullptr);
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->Bytes()[0], 5);
    }
}

TEST_F(IffWrite, ReAddingTheSameHandleKeepsItAndFreesOnlyTheOldChunk)
{
    ResHandle* h = Add(kTypeOBJD, 1, 50);
    ASSERT_EQ(file_.AddResource(h, kTypeOBJD, 1, "again", ResConverted::No), kResOk);
    EXPECT_EQ(file_.GetResource(kTypeOBJD, 1, nullptr), h);
    EXPECT_EQ(Chunks(path_)[0].type, "XXXX");
    ASSERT_EQ(file_.WriteResource(h), kResOk);

    // An attribute makes a separate resource that plain lookups do not see.
    ResHandle* tagged = ResHandle::CreateFrom(Filled(4, 7));
    ASSERT_EQ(file_.AddResourceEx(tagged, kTypeOBJD, 1, "", 7, ResConverted::No), kResOk);
    EXPECT_EQ(file_.GetResource(kTypeOBJD, 1, nullptr), h);
    EXPECT_EQ(file_.GetResourceEx(kTypeOBJD, 1, 7, nullptr), tagged);
    EXPECT_EQ(file_.GetResAttr(tagged), 7);
}

TEST_F(IffWrite, SetResInfoRenamesOnDiskAndDetachWritesFirst)
{
    ResHandle* h = ResHandle::CreateFrom(Filled(8, 3));
    ASSERT_EQ(file_.AddResource(h, kTypeOBJD, 1, "old", ResConverted::No), kResOk);
    ASSERT_EQ(file_.DetachResource(h), kResOk); // unwritten: written, then let go
    ResHandle::Dispose(h);
    h = file_.GetResource(kTypeOBJD, 1, nullptr);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(file_.SetResInfo(h, 42, "new", 0), kResOk);
    CTGIffFile scan;
    ASSERT_EQ(scan.OpenContainer(path_, IndexMode::ForceScan), kResOk);
    ResHandle* again = scan.GetResource(kTypeOBJD, 42, nullptr);
    ASSERT_NE(again, nullptr);
    std::string name;
    scan.GetResName(again, name);
    EXPECT_EQ(name, "new");
}

TEST_F(IffWrite, AnOldVersionFileIsRewrittenAsVersion25WhenChanged)
{
    std::vector<uint8_t> bytes = SmallObjectFile(IffBuilder::Map::None);
    bytes[11] = '0';
    WriteBytes(dir_.File("old.iff"), bytes);
    CTGIffFile f;
    ASSERT_EQ(f.OpenContainer(dir_.File("old.iff")), kResOk);
    ResHandle* h = f.GetResource(kTypeSTRList, 128, nullptr);
    h->Data()[0] = 0x55;
    ASSERT_EQ(f.WriteResource(h), kResOk);
    ASSERT_EQ(f.CloseContainer(), kResOk);
    const std::vector<uint8_t> after = ReadBytes(dir_.File("old.iff"));
    EXPECT_EQ(after[11], '5');
    CTGIffFile check;
    ASSERT_EQ(check.OpenContainer(dir_.File("old.iff")), kResOk);
    EXPECT_EQ(check.IndexSourceUsed(), IndexSource::Map);
    EXPECT_EQ(check.GetResource(kTypeSTRList, 128, nullptr)->Data()[0], 0x55);
}

TEST_F(IffWrite, AFileLeftOpenAfterChangesIsReadByScanning)
{
    Add(kTypeOBJD, 1, 30, 1);
    ASSERT_EQ(file_.CloseContainer(), kResOk);
    ASSERT_NE(HeaderMapOffset(path_), 0u);
    ASSERT_EQ(file_.OpenContainer(path_), kResOk);
    ResHandle* grown = file_.GetResource(kTypeOBJD, 1, nullptr);
    ASSERT_TRUE(grown->Resize(500));
    ASSERT_EQ(file_.WriteResource(grown), kResOk);
    // The writer "dies" here: the copy of the file is what a crash leaves.
    std::filesystem::copy_file(path_, dir_.File("crash.iff"));
    EXPECT_EQ(HeaderMapOffset(dir_.File("crash.iff")), 0u);
    CTGIffFile after;
    ASSERT_EQ(after.OpenContainer(dir_.File("crash.iff")), kResOk);
    EXPECT_EQ(after.IndexSourceUsed(), IndexSource::Scan);
    EXPECT_EQ(after.CountResources(kTypeMap), 0);
    ASSERT_NE(after.GetResource(kTypeOBJD, 1, nullptr), nullptr);
    EXPECT_EQ(after.GetResource(kTypeOBJD, 1, nullptr)->Size(), 500u);
}

TEST(IffReadOnly, FilesInsideArchivesOpenReadOnlyAndRefuseChanges)
{
    TempDir dir;
    FarBuilder far;
    far.AddFile("packed.iff", SmallObjectFile(IffBuilder::Map::Written));
    WriteBytes(dir.File("objects.far"), far.Build());
    CTGFileSystem& fs = CTGFileSystem::Instance();
    fs.Mount(dir.Path().string(), MountRecurse::Yes, MountArchives::Yes);
    {
        CTGIffFile f;
        ASSERT_EQ(f.OpenContainer(dir.File("PACKED.IFF")), kResOk);
        EXPECT_FALSE(f.IsWritable());
        ResHandle* h = f.GetResource(kTypeOBJD, 128, nullptr);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(f.WriteResource(h), kErrNotWritable);
        EXPECT_EQ(f.RemoveResource(h), kErrNotWritable);
        ResHandle* extra = ResHandle::Create(1);
        EXPECT_EQ(f.AddResource(extra, kTypeOBJD, 1, "", ResConverted::No), kErrNotWritable);
        ResHandle::Dispose(extra);
        EXPECT_EQ(f.CloseContainer(), kResOk);
    }
    fs.Reset();
}

TEST_F(IffWrite, RewritingInPlaceWritesOnlyTheChunkAndCompactionCanBeAsked)
{
    ResHandle* h = Add(kTypeSPR2, 1, 5000);
    Add(kTypeOBJD, 1, 20);
    FileLayerStats::Reset();
    h->Data()[10] = 0x99;
    ASSERT_EQ(file_.WriteResource(h), kResOk);
    EXPECT_EQ(FileLayerStats::BytesWritten(), 5000u + 76u);

    ASSERT_EQ(file_.RemoveResource(h), kResOk); // 5076 free bytes: below the threshold
    ASSERT_EQ(file_.CompactOnClose(), kResOk);
    ASSERT_EQ(file_.CloseContainer(), kResOk);
    const std::vector<ChunkOnDisk> chunks = Chunks(path_);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].type, "OBJD");
    EXPECT_EQ(chunks[1].type, "rsmp");
}

TEST_F(IffWrite, ResourcesAppendedBehindADamagedChunkHeaderSurviveTheClose)
{
    // Enough free space to compact, a damaged header after it, and a
    // resource too large for the free space, which goes to the end of the file.
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 128, "chair", Filled(216, 1));
    b.AddFreeChunk(12000);
    std::vector<uint8_t> bytes = b.Build(IffBuilder::Map::None);
    std::vector<uint8_t> damaged(76, 0);
    damaged[7] = 10; // a chunk size below the header's own
    bytes.insert(bytes.end(), damaged.begin(), damaged.end());
    const std::string path = dir_.File("damaged.iff");
    WriteBytes(path, bytes);

    CTGIffFile f;
    ASSERT_EQ(f.OpenContainer(path), kResOk);
    ResHandle* big = ResHandle::CreateFrom(Filled(20000, 7));
    ASSERT_EQ(f.AddResource(big, kTypeSPR2, 1, "big", ResConverted::No), kResOk);
    ASSERT_EQ(f.WriteResource(big), kResOk);
    ASSERT_EQ(f.CloseContainer(), kResOk);

    // Only the map knows what lies behind the damage; the file keeps its free space.
    CTGIffFile check;
    ASSERT_EQ(check.OpenContainer(path), kResOk);
    EXPECT_EQ(check.IndexSourceUsed(), IndexSource::Map);
    ResHandle* back = check.GetResource(kTypeSPR2, 1, nullptr);
    ASSERT_NE(back, nullptr) << check.GetLastError();
    EXPECT_EQ(back->Size(), 20000u);
    EXPECT_EQ(back->Bytes()[19999], 7);
    ASSERT_NE(check.GetResource(kTypeOBJD, 128, nullptr), nullptr);
    EXPECT_EQ(Chunks(path)[1].type, "XXXX");
}

TEST_F(IffWrite, DamagedFilesStillTakeNewResourcesWithoutLosingOthers)
{
    // The last chunk claims more than the file holds, as a writer that died mid-append leaves it.
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 128, "chair", Filled(216, 1));
    b.AddChunk(kTypeSTRList, 1, "cut", Filled(400, 2));
    std::vector<uint8_t> bytes = b.Build(IffBuilder::Map::None);
    bytes.resize(bytes.size() - 100);
    const std::string cut = dir_.File("cut.iff");
    WriteBytes(cut, bytes);
    CTGIffFile f;
    ASSERT_EQ(f.OpenContainer(cut), kResOk);
    ResHandle* added = ResHandle::CreateFrom(Filled(50, 3));
    ASSERT_EQ(f.AddResource(added, kTypeSPR2, 5, "added", ResConverted::No), kResOk);
    ASSERT_EQ(f.WriteResource(added), kResOk);
    ASSERT_EQ(f.CloseContainer(), kResOk);
    CTGIffFile scan;
    ASSERT_EQ(scan.OpenContainer(cut, IndexMode::ForceScan), kResOk);
    ASSERT_NE(scan.GetResource(kTypeSPR2, 5, nullptr), nullptr);
    EXPECT_NE(scan.GetResource(kTypeOBJD, 128, nullptr), nullptr);

    // A stale map entry for BHAV 1 points at the OBJD's chunk: replacing BHAV 1 must not free it.
    IffBuilder m;
    const uint32_t objd = m.AddChunk(kTypeOBJD, 128, "chair", Filled(216, 1));
    m.AddChunk(kTypeBHAV, 1, "main", Filled(30, 4));
    bytes = m.Build(IffBuilder::Map::Written);
    const std::string stale = dir_.File("stale.iff");
    WriteBytes(stale, bytes);
    CTGIffFile g;
    ASSERT_EQ(g.OpenContainer(stale), kResOk);
    const_cast<IffIndex&>(g.Index()).FindGroup(kTypeBHAV)->entries[0].offset = objd; // what a stale map says
    ResHandle* bhav = ResHandle::CreateFrom(Filled(40, 5));
    ASSERT_EQ(g.AddResource(bhav, kTypeBHAV, 1, "main", ResConverted::No), kResOk);
    ASSERT_EQ(g.WriteResource(bhav), kResOk);
    ASSERT_EQ(g.CloseContainer(), kResOk);
    CTGIffFile check;
    ASSERT_EQ(check.OpenContainer(stale, IndexMode::ForceScan), kResOk);
    ASSERT_NE(check.GetResource(kTypeOBJD, 128, nullptr), nullptr);
    EXPECT_EQ(check.GetResource(kTypeOBJD, 128, nullptr)->Size(), 216u);
}
