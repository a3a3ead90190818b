// The catalog of a game folder: what is listed, what is left out, and that a
// rebuild leaves nothing of the previous one open.

#include "objects/ObjectCatalog.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGResFileSet.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;
using zelvane::test::TempDir;

namespace {

size_t OpenDescriptors()
{
    size_t count = 0;
    for ([[maybe_unused]] const auto& item : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

std::vector<std::string> ListedNames(const ObjectCatalog& catalog)
{
    std::vector<std::string> names;
    for (CObjectEntry* object : catalog.ListedObjects())
        names.push_back(object->ResourceName());
    return names;
}

} // namespace

TEST(Catalog, ListsTheSampleGameInSearchOrderWithoutSystemFiles)
{
    TempDir dir;
    ASSERT_EQ(WriteSampleGame(dir.Path()).error, "");
    ObjectCatalog catalog;
    catalog.Rebuild(dir.Path().string());

    std::vector<std::string> files;
    for (const auto& file : catalog.Files())
        files.push_back(std::filesystem::path(file->Path()).filename().string());
    // Downloads first, then GameData/Objects (archive contents among the loose files), then UserObjects.
    EXPECT_EQ(files, (std::vector<std::string>{"aquarium", "armchair", "bookcase", "chair", "clock", "counter",
                                               "diningtable", "endtable", "lamp", "loveseat", "plant", "rug",
                                               "television"}));
    EXPECT_EQ(ListedNames(catalog).size(), 13u);
    for (const auto& file : catalog.Files())
        EXPECT_FALSE(file->Container().IsWritable()) << file->Path() << ": the game's files are only read";

    const CObjectFile& table = *catalog.Files()[6];
    ASSERT_EQ(table.ListedObjects().size(), 1u);
    EXPECT_EQ(table.ListedObjects()[0]->Members().size(), 4u);
    EXPECT_EQ(table.Objects()[3]->Master(), table.ListedObjects()[0]);
    const CObjectFile& bookcase = *catalog.Files()[2];
    EXPECT_EQ(static_cast<CTGResFileSet&>(bookcase.Container()).MemberCount(), 2u);
    EXPECT_TRUE(catalog.GuidInUse(static_cast<uint32_t>(table.ListedObjects()[0]->Definition().Guid())));
    EXPECT_TRUE(catalog.SharedGuids().empty());
}

TEST(Catalog, NameRulesAndRebuildingLeaveNothingOpen)
{
    TempDir dir;
    ASSERT_EQ(WriteSampleGame(dir.Path()).error, "");
    const auto objects = dir.Path() / "GameData" / "Objects";
    // Letter case decides what is left out; any case of the extension counts.
    // (A folder cannot hold both fire.iff and Fire.iff for the game: its file names ignore case.)
    std::filesystem::copy_file(objects / "lamp.iff", dir.Path() / "GameData" / "UserObjects" / "Fire.iff");
    std::filesystem::copy_file(objects / "lamp.iff", objects / "a.IFF");
    std::filesystem::copy_file(objects / "lamp.iff", objects / ".iff");
    std::filesystem::create_directories(objects / "nested");
    std::filesystem::copy_file(objects / "chair.iff", objects / "nested" / "twin.iff");

    ObjectCatalog catalog;
    catalog.Rebuild(dir.Path().string());
    std::vector<std::string> files;
    for (const auto& file : catalog.Files())
        files.push_back(std::filesystem::path(file->Path()).filename().string());
    EXPECT_NE(std::find(files.begin(), files.end(), "Fire"), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), "a"), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), "twin"), files.end());
    EXPECT_EQ(std::find(files.begin(), files.end(), "fire"), files.end());
    EXPECT_EQ(files.size(), 16u);
    // The copies share their originals' GUIDs: the catalog says so.
    EXPECT_EQ(catalog.SharedGuids().size(), 2u);

    const std::vector<std::string> first = ListedNames(catalog);
    const size_t descriptors = OpenDescriptors();
    catalog.Rebuild(dir.Path().string());
    EXPECT_EQ(ListedNames(catalog), first);
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_EQ(CTGFileSystem::Instance().ArchiveCount(), 1u);
    catalog.Clear();
    EXPECT_LT(OpenDescriptors(), descriptors);
    CTGFileSystem::Instance().Reset();
}
