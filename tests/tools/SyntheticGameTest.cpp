#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/FarManifest.h"
#include "resfile/ResType.h"
#include "tools/SyntheticGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>

namespace zelvane {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "zelvane-synthgame-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
    }
    ~TempFolder()
    {
        std::error_code ec;
        if (!path_.empty())
            fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// Every regular file below a folder, by relative path, with its bytes.
std::map<std::string, std::vector<char>> Snapshot(const fs::path& root)
{
    std::map<std::string, std::vector<char>> files;
    for (const auto& item : fs::recursive_directory_iterator(root))
        if (item.is_regular_file()) {
            std::ifstream in(item.path(), std::ios::binary);
            files[fs::relative(item.path(), root).string()] = {std::istreambuf_iterator<char>(in), {}};
        }
    return files;
}

// Object files as the catalog finds them: through the file system, archives included.
void FindObjectFiles(const std::string& folder, std::vector<std::string>& found)
{
    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    FsFind find;
    FsFindData item;
    for (bool more = fileSystem.FindFirst(folder + "/*", find, item); more; more = fileSystem.FindNext(find, item)) {
        const std::string path = folder + "/" + item.name;
        if (item.folder)
            FindObjectFiles(path, found);
        else if (path.size() > 4 && path.substr(path.size() - 4) == ".iff")
            found.push_back(path);
    }
}

TEST(SyntheticGame, SmallGameOpensThroughTheFileSystemLikeARealOne)
{
    TempFolder temp;
    ASSERT_FALSE(temp.Path().empty());
    const SyntheticGameSummary summary = WriteSyntheticGame({temp.Path(), 5, 12});
    ASSERT_EQ(summary.error, "");
    EXPECT_EQ(summary.files, 12u);
    EXPECT_EQ(summary.looseFiles, 4u);
    EXPECT_EQ(summary.archivedFiles, 8u);
    EXPECT_EQ(summary.archives, kSyntheticArchives);

    // Each archive's manifest is whole and names only its own bytes.
    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    fileSystem.Reset();
    for (const char* folder : kObjectFolders)
        fileSystem.Mount((temp.Path() / folder).string(), MountRecurse::Yes, MountArchives::Yes);
    size_t archived = 0;
    for (const auto& item : fs::recursive_directory_iterator(temp.Path())) {
        if (item.path().extension() != ".far")
            continue;
        const int fd = ::open(item.path().c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        const FarManifest manifest = ReadFarManifest(fd, item.file_size());
        ::close(fd);
        EXPECT_TRUE(manifest.complete) << item.path();
        EXPECT_TRUE(manifest.notes.empty()) << item.path();
        for (const FarEntry& entry : manifest.entries) {
            FsEntryInfo info;
            ASSERT_TRUE(fileSystem.Lookup((item.path().parent_path() / entry.name).string(), info)) << entry.name;
            EXPECT_TRUE(info.inArchive);
            ++archived;
        }
    }
    EXPECT_EQ(archived, 8u);

    std::vector<std::string> found;
    for (const char* folder : kObjectFolders)
        FindObjectFiles((temp.Path() / folder).string(), found);
    ASSERT_EQ(found.size(), 12u);

    for (const std::string& path : found) {
        SCOPED_TRACE(path);
        CTGObjResFileSet objects;
        ASSERT_EQ(objects.OpenContainer(path.substr(0, path.size() - 4)), kResOk);
        const ResHandle* objd = objects.GetResource(kTypeOBJD, 128, nullptr);
        ASSERT_NE(objd, nullptr);
        EXPECT_EQ(objd->Size(), 216u);
        EXPECT_EQ(objects.CloseContainer(), kResOk);

        // The map is present and lists what a scan finds; sprites hold most bytes.
        CTGIffFile iff;
        ASSERT_EQ(iff.OpenContainer(path, IndexMode::PreferMap), kResOk);
        EXPECT_EQ(iff.IndexSourceUsed(), IndexSource::Map);
        const size_t resources = iff.Index().EntryCount();
        EXPECT_GE(resources, 20u);
        EXPECT_LE(resources, 60u);
        uint64_t fileSize = 0, spriteBytes = 0;
        CTGFile file;
        ASSERT_EQ(file.Open(path), kResOk);
        ASSERT_EQ(file.GetEOF(fileSize), kResOk);
        EXPECT_GE(fileSize, 30u * 1024);
        EXPECT_LE(fileSize, 1024u * 1024);
        for (int32_t i = 1; i <= iff.CountResources(kTypeSPR2); ++i)
            if (const ResHandle* sprite = iff.GetIndResource(kTypeSPR2, i, nullptr))
                spriteBytes += sprite->Size();
        EXPECT_GT(spriteBytes * 2, fileSize);
        EXPECT_EQ(iff.CloseContainer(), kResOk);

        CTGIffFile scanned;
        ASSERT_EQ(scanned.OpenContainer(path, IndexMode::ForceScan), kResOk);
        EXPECT_EQ(scanned.Index().EntryCount(), resources);
    }
    fileSystem.Reset();
}

TEST(SyntheticGame, SameSeedGivesTheSameBytesAndAnotherSeedDoesNot)
{
    TempFolder first, second, third;
    ASSERT_EQ(WriteSyntheticGame({first.Path(), 42, 6}).error, "");
    ASSERT_EQ(WriteSyntheticGame({second.Path(), 42, 6}).error, "");
    ASSERT_EQ(WriteSyntheticGame({third.Path(), 43, 6}).error, "");
    const auto a = Snapshot(first.Path());
    EXPECT_EQ(a.size(), 2u + kSyntheticArchives);
    EXPECT_TRUE(a == Snapshot(second.Path()));
    EXPECT_FALSE(a == Snapshot(third.Path()));
}

} // namespace
} // namespace zelvane
