// Cloning a base object into the working object file.

#include "objects/BehaviourRepair.h"
#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "resfile/FileFaults.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace zelvane;
using namespace zelvane::test;

namespace {

class Clone : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetReporter(&reporter_);
        ASSERT_EQ(WriteSampleGame(game_.Path()).error, "");
        catalog_.Rebuild(game_.Path().string());
    }
    void TearDown() override
    {
        catalog_.Clear();
        CTGFileSystem::Instance().Reset();
        SetReporter(nullptr);
    }
    const CObjectEntry& Object(const std::string& resourceName)
    {
        for (CObjectEntry* object : catalog_.ListedObjects())
            if (object->ResourceName() == resourceName)
                return *object;
        throw std::runtime_error("no object " + resourceName);
    }
    CloneResult CloneInto(const CObjectEntry& object, const std::string& path)
    {
        CloneOptions options;
        options.targetPath = path;
        options.guidInUse = [this](uint32_t guid) { return catalog_.GuidInUse(guid); };
        return CloneObject(object, options);
    }
    static std::multiset<std::string> Resources(const std::string& path)
    {
        CTGIffFile file;
        EXPECT_EQ(file.OpenContainer(path), kResOk);
        std::multiset<std::string> all;
        for (const IffTypeGroup& group : file.Index().groups)
            for (const IffEntry& entry : group.entries)
                all.insert(ResTypeName(group.type) + " #" + std::to_string(entry.id));
        return all;
    }

    RecordingReporter reporter_;
    TempDir game_;
    TempDir work_;
    std::string target_ = work_.File("zeltemp.iff");
    ObjectCatalog catalog_;
};

} // namespace

TEST_F(Clone, ASingleObjectTakesItsOwnResourcesAndGetsANewGuid)
{
    const CObjectEntry& chair = Object("Chair - Maple Dining");
    const uint32_t oldGuid = static_cast<uint32_t>(chair.Definition().Guid());
    const CloneResult result = CloneInto(chair, target_);
    ASSERT_TRUE(result.succeeded) << (reporter_.Messages().empty() ? "" : reporter_.Messages()[0].text);
    EXPECT_TRUE(reporter_.Messages().empty());
    EXPECT_EQ(reporter_.BusyDepth(), 0);
    EXPECT_EQ(reporter_.BusyScopes(), 1);
    EXPECT_EQ(Resources(target_), (std::multiset<std::string>{"OBJD #128", "DGRP #100", "SPR2 #200", "PALT #200",
                                                                "CTSS #2000", "STR# #129", "STR# #130", "BHAV #4096",
                                                                "BHAV #4097"}));

    ASSERT_EQ(result.guids.size(), 1u);
    EXPECT_EQ(result.guids[0].oldGuid, oldGuid);
    const uint32_t newGuid = result.guids[0].newGuid;
    EXPECT_NE(newGuid, oldGuid);
    EXPECT_NE(newGuid, 0u);
    EXPECT_FALSE(catalog_.GuidInUse(newGuid));

    std::unique_ptr<CObjectFile> working = OpenWorkingObjectFile(target_);
    ASSERT_NE(working, nullptr);
    const CObjectEntry& clone = *working->ListedObjects().at(0);
    EXPECT_EQ(static_cast<uint32_t>(clone.Definition().Guid()), newGuid);
    EXPECT_EQ(static_cast<uint32_t>(clone.Definition().ClonedFromGuid()), oldGuid);
    EXPECT_EQ(clone.Summary().name, "Maple Dining Chair");
    EXPECT_EQ(clone.Summary().price, 120);

    // Its own GUID is repaired in both behaviours; the table's GUID (not cloned) is kept.
    ASSERT_EQ(result.behaviours.size(), 2u);
    for (const RepairedBehaviour& behaviour : result.behaviours)
        for (const GuidPatch& patch : behaviour.patches)
            EXPECT_EQ(patch.oldGuid, oldGuid);
    ResHandle* main = working->Container().GetResource(kTypeBHAV, 4096, nullptr);
    ASSERT_NE(main, nullptr);
    std::vector<uint8_t> code(main->Bytes().begin(), main->Bytes().end());
    const BehaviourRepairResult again = RepairBehaviourGuids(code, {{oldGuid, 1}});
    EXPECT_TRUE(again.patches.empty()) << "the old GUID is still referenced";
}

TEST_F(Clone, AMasterBringsItsTilesAndTheirGuidReferencesAreRepaired)
{
    const CObjectEntry& table = Object("Table - Farmhouse Dining");
    const CloneResult result = CloneInto(table, target_);
    ASSERT_TRUE(result.succeeded);
    const std::multiset<std::string> resources = Resources(target_);
    EXPECT_EQ(resources.count("OBJD #128") + resources.count("OBJD #129") + resources.count("OBJD #132"), 3u);
    EXPECT_EQ(result.guids.size(), 5u);
    for (int16_t id = 100; id <= 103; ++id)
        EXPECT_EQ(resources.count("DGRP #" + std::to_string(id)), 1u);
    // The table's main behaviour refers to its four tiles (opcodes 31 and 32) and itself (42).
    const auto main = std::find_if(result.behaviours.begin(), result.behaviours.end(),
                                   [](const RepairedBehaviour& b) { return b.id == 4096; });
    ASSERT_NE(main, result.behaviours.end());
    std::set<uint16_t> opcodes;
    for (const GuidPatch& patch : main->patches)
        opcodes.insert(patch.opcode & 0x7FFF);
    EXPECT_EQ(opcodes, (std::set<uint16_t>{31, 32, 42}));
    EXPECT_EQ(main->patches.size(), 5u);

    std::unique_ptr<CObjectFile> working = OpenWorkingObjectFile(target_);
    ASSERT_NE(working, nullptr);
    ASSERT_EQ(working->ListedObjects().size(), 1u);
    EXPECT_EQ(working->ListedObjects()[0]->Members().size(), 4u);
}

TEST_F(Clone, CloningAgainStartsAfreshWithNewGuids)
{
    const CObjectEntry& lamp = Object("Lamp - Brass Reading");
    const CloneResult first = CloneInto(lamp, target_);
    ASSERT_TRUE(first.succeeded);
    std::unique_ptr<CObjectFile> previous = OpenWorkingObjectFile(target_);
    ASSERT_NE(previous, nullptr);
    const CloneResult second = CloneInto(Object("Clock - Cuckoo"), target_);
    ASSERT_TRUE(second.succeeded);
    EXPECT_NE(first.guids[0].newGuid, second.guids[0].newGuid);
    EXPECT_EQ(Resources(target_).count("OBJD #128"), 1u);
    // The older working file stays readable by whoever still has it open.
    EXPECT_EQ(previous->ListedObjects()[0]->Summary().name, "Brass Reading Lamp");
    std::unique_ptr<CObjectFile> current = OpenWorkingObjectFile(target_);
    EXPECT_EQ(current->ListedObjects()[0]->Summary().name, "Cuckoo Wall Clock"); // read from CATS
}

TEST_F(Clone, AFailedCloneLeavesThePreviousWorkingFileAndNoHalfWrittenOne)
{
    ASSERT_TRUE(CloneInto(Object("Lamp - Brass Reading"), target_).succeeded);
    const std::vector<uint8_t> before = ReadBytes(target_);

    // Every write from the tenth on fails, part-way through the copy.
    FileFaults::Arm(10, true);
    const CloneResult failed = CloneInto(Object("Table - Farmhouse Dining"), target_);
    FileFaults::Disarm();
    EXPECT_FALSE(failed.succeeded);
    ASSERT_EQ(reporter_.Messages().size(), 2u);
    EXPECT_EQ(reporter_.Messages()[0].text.rfind("Encountered an error reading from object file, error #", 0), 0u);
    EXPECT_EQ(reporter_.Messages()[1].text,
              "Could not clone the object file to \"" + target_ + "\": error #" + std::to_string(failed.error) + "!");
    EXPECT_EQ(reporter_.BusyDepth(), 0);
    EXPECT_EQ(ReadBytes(target_), before);
    size_t leftovers = 0;
    for ([[maybe_unused]] const auto& item : std::filesystem::directory_iterator(work_.Path()))
        ++leftovers;
    EXPECT_EQ(leftovers, 1u);

    reporter_.Clear();
    const CloneResult nowhere = CloneInto(Object("Lamp - Brass Reading"), work_.File("missing/zeltemp.iff"));
    EXPECT_FALSE(nowhere.succeeded);
    ASSERT_EQ(reporter_.Messages().size(), 1u);
    EXPECT_EQ(reporter_.Messages()[0].text, "Could not create the new object object file named \"" +
                                                work_.File("missing/zeltemp.iff") + "\", error #-42!");
    reporter_.Clear();
    EXPECT_EQ(OpenWorkingObjectFile(work_.File("missing/zeltemp.iff")), nullptr);
    ASSERT_EQ(reporter_.Messages().size(), 1u);
    EXPECT_EQ(reporter_.Messages()[0].text, "Could NOT open new object file!");
}

TEST(CloneRealFiles, GuidReferencingAndMultiTileObjectsCloneWhole)
{
    const std::filesystem::path data = TestDataDir();
    if (data.empty())
        GTEST_SKIP() << "real object files not found (set ZELVANE_TESTDATA to shared/testdata)";
    RecordingReporter reporter;
    SetReporter(&reporter);
    TempDir game, work;
    std::filesystem::create_directories(game.Path() / "GameData" / "Objects");
    for (const char* name : {"k8capchairts.iff", "k8capcoffeetablehd.iff", "k8lidrug.iff"})
        std::filesystem::copy_file(data / "iff" / name, game.Path() / "GameData" / "Objects" / name);
    ObjectCatalog catalog;
    catalog.Rebuild(game.Path().string());
    ASSERT_EQ(catalog.Files().size(), 3u);
    size_t patched = 0;
    for (CObjectEntry* object : catalog.ListedObjects()) {
        SCOPED_TRACE(object->ResourceName());
        CloneOptions options;
        options.targetPath = work.File("zeltemp.iff");
        options.guidInUse = [&](uint32_t guid) { return catalog.GuidInUse(guid); };
        const CloneResult result = CloneObject(*object, options);
        ASSERT_TRUE(result.succeeded) << (reporter.Messages().empty() ? "" : reporter.Messages()[0].text);
        EXPECT_EQ(result.guids.size(), 1 + object->Members().size());
        for (const RepairedBehaviour& b : result.behaviours)
            patched += b.patches.size();
        std::unique_ptr<CObjectFile> working = OpenWorkingObjectFile(options.targetPath);
        ASSERT_NE(working, nullptr);
        EXPECT_EQ(working->ListedObjects().size(), 1u);
        EXPECT_EQ(working->ListedObjects()[0]->Members().size(), object->Members().size());
        EXPECT_TRUE(working->ListedObjects()[0]->Catalog().readable);
        // Sprites of version 1001 and lists in layout -4 are copied as they are.
        CTGResFile& from = object->Owner().Container();
        for (const ResType type : {kTypeSPR2, kTypeCTSS})
            for (int32_t i = 1; i <= from.CountResources(type); ++i) {
                ResHandle* original = from.GetIndResource(type, i, &ObjectDefinition::KeepAsStored);
                ASSERT_NE(original, nullptr);
                int16_t id = 0;
                from.GetResId(original, id);
                ResHandle* copy = working->Container().GetResource(type, id, &ObjectDefinition::KeepAsStored);
                ASSERT_NE(copy, nullptr) << ResTypeName(type) << " " << id;
                EXPECT_TRUE(std::ranges::equal(copy->Bytes(), original->Bytes())) << ResTypeName(type) << " " << id;
            }
    }
    EXPECT_GT(patched, 0u) << "the chair's behaviour refers to its own GUID";
    catalog.Clear();
    CTGFileSystem::Instance().Reset();
    SetReporter(nullptr);
}
