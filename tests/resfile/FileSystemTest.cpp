// The file system tree: folders, FAR archives, lookups and listings.

#include "bytes/ByteWriter.h"
#include "resfile/CTGFile.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/FarBuilder.h"
#include "resfile/FarManifest.h"
#include "resfile/ResErrors.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

using namespace zelvane;
using zelvane::test::TempDir;
using zelvane::test::WriteBytes;

namespace {

std::vector<uint8_t> Bytes(std::string_view text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<std::string> List(const CTGFileSystem& fs, const std::string& pattern)
{
    std::vector<std::string> names;
    FsFind find;
    FsFindData item;
    for (bool more = fs.FindFirst(pattern, find, item); more; more = fs.FindNext(find, item))
        names.push_back(item.name + (item.folder ? "/" : ""));
    return names;
}

// A FAR whose manifest is written by hand, for the damaged cases.
std::vector<uint8_t> RawFar(uint32_t count, const std::vector<std::tuple<uint32_t, uint32_t, std::string>>& entries,
                            uint32_t nameLengthOverride = 0)
{
    ByteWriter out;
    out.text("FAR!byAZ");
    auto u32 = [&](uint32_t v) { out.u32le(v); };
    u32(1);
    u32(16 + 32); // manifest after 32 data bytes
    for (int i = 0; i < 32; ++i)
        out.u8(static_cast<uint8_t>('a' + i % 26));
    u32(count);
    for (const auto& [offset, length, name] : entries) {
        u32(length);
        u32(length);
        u32(offset);
        u32(nameLengthOverride ? nameLengthOverride : static_cast<uint32_t>(name.size()));
        out.text(name);
    }
    return out.take();
}

} // namespace

TEST(FileSystem, FindsFilesWhateverTheCaseAndSeparator)
{
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "GameData" / "Objects");
    WriteBytes(dir.File("GameData/Objects/Chair.iff"), Bytes("chair"));
    CTGFileSystem fs;
    fs.Mount(dir.File("GameData"), MountRecurse::Yes, MountArchives::Yes);

    const std::string upper = dir.Path().string() + "\\GAMEDATA\\objects\\CHAIR.IFF";
    FsEntryInfo info;
    ASSERT_TRUE(fs.Lookup(upper, info));
    EXPECT_EQ(info.realPath, dir.File("GameData/Objects/Chair.iff"));
    EXPECT_FALSE(info.inArchive);

    CTGFile file(fs);
    ASSERT_EQ(file.Open(upper), kResOk);
    char text[5];
    EXPECT_EQ(file.ReadAt(0, text, 5), kResOk);
    EXPECT_EQ(std::string(text, 5), "chair");
    EXPECT_EQ(List(fs, dir.File("gamedata/*")), std::vector<std::string>{"Objects/"});
}

TEST(FileSystem, ArchiveContentsAppearInTheFolderThatHoldsTheArchive)
{
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "X");
    WriteBytes(dir.File("X/plain.iff"), Bytes("plain"));
    FarBuilder far;
    far.AddFile("s\\o.iff", Bytes("inside"));
    far.AddFile("top.iff", Bytes("top"));
    WriteBytes(dir.File("X/pack.far"), far.Build());

    CTGFileSystem fs;
    fs.Mount(dir.File("X"), MountRecurse::Yes, MountArchives::Yes);
    EXPECT_EQ(List(fs, dir.File("X/*")), (std::vector<std::string>{"plain.iff", "s/", "top.iff"}));
    EXPECT_EQ(List(fs, dir.File("X/S/*.IFF")), std::vector<std::string>{"o.iff"});

    FsEntryInfo info;
    ASSERT_TRUE(fs.Lookup(dir.File("X/s/o.iff"), info));
    EXPECT_TRUE(info.inArchive);
    EXPECT_EQ(info.length, 6u);

    // Archive entries are read-only and end where they end.
    CTGFile file(fs);
    ASSERT_EQ(file.Open(dir.File("x/s/o.iff")), kResOk);
    EXPECT_FALSE(file.IsWritable());
    uint64_t size = 0;
    EXPECT_EQ(file.GetEOF(size), kResOk);
    EXPECT_EQ(size, 6u);
    char text[16] = {};
    EXPECT_EQ(file.ReadAt(2, text, 10), kErrShortRead);
    EXPECT_EQ(std::string(text), "side");
    EXPECT_EQ(file.Seek(7), kErrShortRead);
    EXPECT_EQ(file.Write("x", 1), kErrShortWrite);
    EXPECT_EQ(fs.OpenRecord(dir.File("X/s/o.iff"), OpenAccess::ReadWrite), nullptr);

    // Without the archives flag the archive is neither mounted nor listed.
    CTGFileSystem plainOnly;
    plainOnly.Mount(dir.File("X"), MountRecurse::Yes, MountArchives::No);
    EXPECT_EQ(List(plainOnly, dir.File("X/*")), std::vector<std::string>{"plain.iff"});
}

TEST(FileSystem, PlainFilesWinOverArchiveEntriesAndFirstArchiveEntryWins)
{
    TempDir dir;
    FarBuilder a, b;
    a.AddFile("same.iff", Bytes("from a"));
    a.AddFile("dup.iff", Bytes("first"));
    b.AddFile("dup.iff", Bytes("second"));
    // "a.far" sorts before "same.iff", "z.far" after: the plain file wins either way.
    WriteBytes(dir.File("a.far"), a.Build());
    WriteBytes(dir.File("z.far"), b.Build());
    WriteBytes(dir.File("same.iff"), Bytes("plain"));
    FarBuilder c;
    c.AddFile("same.iff", Bytes("from c"));
    WriteBytes(dir.File("zz.far"), c.Build());

    CTGFileSystem fs;
    fs.Mount(dir.Path().string(), MountRecurse::No, MountArchives::Yes);
    FsEntryInfo info;
    ASSERT_TRUE(fs.Lookup(dir.File("same.iff"), info));
    EXPECT_FALSE(info.inArchive);
    ASSERT_TRUE(fs.Lookup(dir.File("dup.iff"), info));
    EXPECT_EQ(info.length, 5u); // "first"
    EXPECT_EQ(fs.ArchiveCount(), 3u);
}

TEST(FileSystem, DamagedManifestsYieldWhatCanBeReadAndNothingOutside)
{
    TempDir dir;
    // Absurd count, an entry past the end, a climbing name, then a good entry.
    WriteBytes(dir.File("a.far"), RawFar(0xFFFFFFFF, {{16, 4, "ok.iff"},
                                                      {16, 0xFFFFFFF0, "huge.iff"},
                                                      {0xFFFFFFFF, 1, "past.iff"},
                                                      {16, 4, "../escape.iff"},
                                                      {20, 4, "sub/../../x.iff"},
                                                      {24, 8, "last.iff"}}));
    // A name length far beyond the file.
    WriteBytes(dir.File("b.far"), RawFar(1, {{16, 4, "n.iff"}}, 0x7FFFFFFF));
    // Manifest offset past the end, and a file shorter than the header.
    std::vector<uint8_t> c = RawFar(0, {});
    c[12] = c[13] = c[14] = c[15] = 0xFF;
    WriteBytes(dir.File("c.far"), c);
    WriteBytes(dir.File("d.far"), Bytes("FAR!"));

    std::vector<std::string> debug;
    CTGFileSystem fs;
    fs.SetDebugSink([&](const std::string& m) { debug.push_back(m); });
    fs.Mount(dir.Path().string(), MountRecurse::No, MountArchives::Yes);
    EXPECT_EQ(List(fs, dir.File("*")), (std::vector<std::string>{"last.iff", "ok.iff"}));
    EXPECT_FALSE(fs.Exists(dir.Path().parent_path().string() + "/escape.iff"));
    EXPECT_GE(debug.size(), 4u);

    int fd = ::open(dir.File("a.far").c_str(), O_RDONLY);
    const FarManifest manifest = ReadFarManifest(fd, std::filesystem::file_size(dir.File("a.far")));
    ::close(fd);
    EXPECT_FALSE(manifest.complete);
    EXPECT_EQ(manifest.entries.size(), 2u);
}

TEST(FileSystem, CreateAndRemoveKeepTheTreeInStep)
{
    TempDir dir;
    CTGFileSystem fs;
    fs.Mount(dir.Path().string(), MountRecurse::No, MountArchives::No);
    EXPECT_EQ(fs.CreateEmpty(dir.File("New.iff")), kResOk);
    EXPECT_EQ(fs.CreateEmpty(dir.File("new.IFF")), kErrCreateExists);
    EXPECT_TRUE(fs.Exists(dir.File("NEW.iff")));
    EXPECT_EQ(fs.Remove(dir.File("new.iff")), kResOk);
    EXPECT_FALSE(fs.Exists(dir.File("New.iff")));
    EXPECT_EQ(fs.Remove(dir.File("New.iff")), kErrDeleteMissing);
}

TEST(FileSystem, RemountingKeepsOneArchiveAndResetSparesOpenEntries)
{
    TempDir dir;
    FarBuilder far;
    far.AddFile("in.iff", Bytes("archived"));
    WriteBytes(dir.File("a.far"), far.Build());
    CTGFileSystem fs;
    fs.Mount(dir.Path().string(), MountRecurse::Yes, MountArchives::Yes);
    fs.Mount(dir.Path().string(), MountRecurse::Yes, MountArchives::Yes);
    EXPECT_EQ(fs.ArchiveCount(), 1u);

    CTGFile file(fs);
    ASSERT_EQ(file.Open(dir.File("in.iff")), kResOk);
    fs.Reset();
    EXPECT_FALSE(fs.Exists(dir.File("in.iff")));
    char text[8];
    ASSERT_EQ(file.ReadAt(0, text, 8), kResOk); // the archive stays open for its reader
    EXPECT_EQ(std::string(text, 8), "archived");
}
