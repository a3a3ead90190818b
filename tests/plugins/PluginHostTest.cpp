// The plug-in host with plug-ins built for the test (see test-plugins/):
// which libraries become plug-ins and in what order, the host's texts for
// missing exports, the About box's lines, commands, and what it does with
// the sets plug-ins return.

#include "plugins/host/CPluginManager.h"
#include "tests/plugins/MeshportTestSupport.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace zelvane;
namespace fs = std::filesystem;

namespace {

const std::string kTestPlugins = ZELVANE_TEST_PLUGIN_DIR;
const std::string kMeshportFolder = fs::path(ZELVANE_MESHPORT_PATH).parent_path().string();

class PluginHost : public ::testing::Test {
protected:
    void SetUp() override { SetReporter(&reporter_); }
    void TearDown() override { SetReporter(nullptr); }

    // A file of the test plug-ins' format whose first word says what to return.
    std::string TestFile(const std::string& name, const std::string& word)
    {
        const std::string path = files_.File(name);
        test::WriteBytes(path, {word.begin(), word.end()});
        return path;
    }

    RecordingReporter reporter_;
    test::TempDir files_;
};

std::vector<std::string> FileNames(const CPluginManager& manager)
{
    std::vector<std::string> names;
    for (const auto& plugin : manager.Plugins())
        names.push_back(plugin->FileName());
    return names;
}

const CPlugin& Named(const CPluginManager& manager, const std::string& fileName)
{
    for (const auto& plugin : manager.Plugins())
        if (plugin->FileName() == fileName)
            return *plugin;
    throw std::runtime_error("no plug-in " + fileName);
}

} // namespace

TEST_F(PluginHost, UsableLibrariesBecomePluginsInFolderOrderAndTheOthersAreSkipped)
{
    CPluginManager manager;
    const Status scan = manager.ScanFolder(kTestPlugins);
    EXPECT_TRUE(scan.ok());

    // The folder's own order, without sorting.
    const std::set<std::string> usable{"fulltest.so", "onlyimport.so", "extonly.so", "emptymenu.so"};
    std::vector<std::string> expected;
    for (const auto& entry : fs::directory_iterator(kTestPlugins))
        if (usable.contains(entry.path().filename().string()))
            expected.push_back(entry.path().filename().string());
    EXPECT_EQ(FileNames(manager), expected);

    // One warning per library without an import routine; none for a file
    // that is no library at all. Nothing is shown from here.
    EXPECT_EQ(scan.Warnings(), std::vector<std::string>(2, kNoImportRoutineText));
    EXPECT_TRUE(reporter_.Messages().empty());
    std::set<std::string> skipped;
    for (const SkippedLibrary& library : manager.Skipped())
        skipped.insert(fs::path(library.path).filename().string());
    EXPECT_EQ(skipped, (std::set<std::string>{"noimport.so", "exportsnothing.so", "notalibrary.so"}));

    // Commands from 33000 in list order; an empty menu name gets none.
    uint32_t next = kFirstPluginCommand;
    std::vector<ImportMenuItem> items;
    for (const auto& plugin : manager.Plugins()) {
        if (plugin->FileName() == "emptymenu.so") {
            EXPECT_EQ(plugin->CommandId(), 0u);
            continue;
        }
        EXPECT_EQ(plugin->CommandId(), next) << plugin->FileName();
        items.push_back({next++, plugin->MenuName()});
    }
    const std::vector<ImportMenuItem> menu = manager.ImportMenuItems();
    ASSERT_EQ(menu.size(), 3u);
    for (size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].commandId, items[i].commandId);
        EXPECT_EQ(menu[i].text, items[i].text);
    }

    // The empty menu name still counts in the About box.
    const std::vector<std::string> lines = manager.InfoLines();
    ASSERT_EQ(lines.size(), 1u + 4u * 4u);
    EXPECT_EQ(lines[0], "4 plug-ins loaded");
    for (size_t i = 0; i < 4; ++i) {
        const CPlugin& plugin = *manager.Plugins()[i];
        EXPECT_EQ(lines[1 + 4 * i], "");
        EXPECT_EQ(lines[2 + 4 * i], std::string("Name: ") + plugin.Name());
        EXPECT_EQ(lines[3 + 4 * i], std::string("Author: ") + plugin.Author());
        EXPECT_EQ(lines[4 + 4 * i], std::string("Description: ") + plugin.Description());
    }
}

TEST_F(PluginHost, MissingTextExportsGetTheHostsTexts)
{
    CPluginManager manager;
    static_cast<void>(manager.ScanFolder(kTestPlugins));
    const CPlugin& onlyImport = Named(manager, "onlyimport.so");
    EXPECT_STREQ(onlyImport.Name(), "Unknown plug-in??");
    EXPECT_STREQ(onlyImport.MenuName(), "&Unknown plug-in??");
    EXPECT_STREQ(onlyImport.Author(), "Unknown plug-in author??");
    EXPECT_STREQ(onlyImport.Description(), "No Description.");
    EXPECT_EQ(onlyImport.FilterText(), "Unknown plug-in description??|*.*||");
    EXPECT_EQ(Named(manager, "extonly.so").FilterText(), "Unknown plug-in description??|*.tst||");
    EXPECT_EQ(Named(manager, "fulltest.so").FilterText(), "Test Meshes (*.tst)|*.tst||");
}

TEST_F(PluginHost, AboutBoxCountsThePlugins)
{
    const test::TempDir empty;
    CPluginManager none;
    static_cast<void>(none.ScanFolder(empty.Path().string()));
    static_cast<void>(none.ScanFolder(empty.File("missing")));
    EXPECT_EQ(none.InfoLines(), std::vector<std::string>{"0 plug-in loaded"});

    // A folder holding meshport alone.
    const test::TempDir single;
    fs::create_symlink(ZELVANE_MESHPORT_PATH, single.Path() / "meshport.so");
    CPluginManager one;
    static_cast<void>(one.ScanFolder(single.Path().string()));
    EXPECT_EQ(one.InfoLines(), (std::vector<std::string>{"1 plug-in loaded", "", "Name: 3D Studio Importer",
                                                         "Author: The zelvane developers",
                                                         "Description: Imports files made in the 3D Studio (3ds) format."}));
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(PluginHost, ScanningTwiceKeepsOneCopyOfEveryPlugin)
{
    // Started above the test plug-ins' "Plugins", the editor looks there
    // first. Nothing else here asks for the start folder, which is kept from
    // the first time it is asked for.
    const test::CurrentFolder start(fs::path(kTestPlugins).parent_path());
    CPluginManager manager;
    EXPECT_EQ(manager.ScanPlugins().Warnings().size(), 2u);
    ASSERT_EQ(manager.Plugins().size(), 4u);
    const std::vector<ImportMenuItem> menu = manager.ImportMenuItems();
    EXPECT_TRUE(manager.ScanPlugins().Warnings().empty()) << "the second scan does nothing";
    EXPECT_EQ(manager.Plugins().size(), 4u);
    EXPECT_EQ(manager.ImportMenuItems().size(), menu.size());
}

TEST_F(PluginHost, ImportNamesTheSetAfterTheFileAndMeasuresItsExtents)
{
    CPluginManager manager;
    static_cast<void>(manager.ScanFolder(kTestPlugins));
    const CPlugin* plugin = manager.FindByName("fulltest");
    ASSERT_NE(plugin, nullptr);
    Result<MeshSet> set = manager.RunImport(plugin->CommandId(), TestFile("chair.tst", "triangle"));
    ASSERT_TRUE(set);
    EXPECT_STREQ(set->name, "chair");
    ASSERT_EQ(set->partCount, 1);
    EXPECT_STREQ(set->parts[0].name, "Tri");
    // Corners (-1, 0, 2), (3, 4, 2), (1, -2, 6).
    EXPECT_EQ(set->extentX, 2.0f);
    EXPECT_EQ(set->extentY, 3.0f);
    EXPECT_EQ(set->extentZ, 2.0f);

    // The host's fields are the host's, whatever the plug-in wrote there.
    set = manager.Import(*plugin, TestFile("table.v2.tst", "scribble"));
    ASSERT_TRUE(set);
    EXPECT_STREQ(set->name, "table.v2");
    EXPECT_EQ(set->extentX, 2.0f);

    // A file the plug-in cannot read is an empty set, not a failure.
    for (const char* word : {"empty", "unreadable"}) {
        set = manager.Import(*plugin, TestFile("nothing.tst", word));
        ASSERT_TRUE(set) << word;
        EXPECT_EQ(set->partCount, 0);
        EXPECT_EQ(set->extentX, 0.0f);
    }
    EXPECT_TRUE(reporter_.Messages().empty());
    EXPECT_FALSE(manager.RunImport(kFirstPluginCommand + 299, TestFile("x.tst", "triangle")));
}

TEST_F(PluginHost, SetsThatBreakTheContractAreRefusedWithAMessage)
{
    CPluginManager manager;
    static_cast<void>(manager.ScanFolder(kTestPlugins));
    const CPlugin& plugin = Named(manager, "fulltest.so");
    const std::pair<const char*, const char*> cases[] = {
        {"bad-vertex", "part 1 (\"Tri\"), face 1: vertex index 3 is outside its 3 vertices"},
        {"bad-texcoord", "part 1 (\"Tri\"), face 1: texture index -1 is outside its 3 texture coordinates"},
        {"negative-parts", "the set has a negative part count (-1)"},
        {"missing-faces", "part 1 (\"Tri\") has 1 faces but no face array"},
    };
    for (const auto& [word, problem] : cases) {
        const Result<MeshSet> set = manager.Import(plugin, TestFile("bad.tst", word));
        EXPECT_FALSE(set) << word;
        EXPECT_EQ(set.Message(), std::string("The plug-in \"Test Meshes\" returned a mesh from "
                                             "\"bad.tst\" that cannot be used: ") +
                                     problem + ". Nothing was imported.");
    }
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(PluginHost, PluginsAreFoundByExtensionAndByName)
{
    CPluginManager manager;
    static_cast<void>(manager.ScanFolder(kTestPlugins));
    static_cast<void>(manager.ScanFolder(kMeshportFolder));
    EXPECT_EQ(manager.FindForFile("/some/where/Chair.3DS"), manager.FindByName("meshport"));
    EXPECT_STREQ(manager.FindForFile("x.TST")->FilterExt(), "tst");
    // No plug-in for ".fbx": the one that takes any file.
    EXPECT_EQ(manager.FindForFile("x.fbx"), &Named(manager, "onlyimport.so"));
    EXPECT_EQ(manager.FindForFile("x.GLB"), manager.FindByName("modelport"));
    EXPECT_EQ(manager.FindByName("ONLYIMPORT.so"), &Named(manager, "onlyimport.so"));
    EXPECT_STREQ(manager.FindByName("3d studio importer")->FilterExt(), "3ds");
    EXPECT_EQ(manager.FindByName("nosuch"), nullptr);
    EXPECT_EQ(manager.FindByCommand(0), nullptr);
}
