// The optional exports for several extensions and for a model's units, axis
// and notes, with a test plug-in that has them (test-plugins/modeltest) and
// one that has not (fulltest): what the host offers, which plug-in it picks
// for a file, and what it keeps of what the plug-in says.

#include "plugins/host/CPluginManager.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

class PluginModelInfo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(manager_.ScanFolder(ZELVANE_MODEL_PLUGIN_DIR).ok());
        static_cast<void>(manager_.ScanFolder(ZELVANE_TEST_PLUGIN_DIR)); // warns about its broken libraries
        ASSERT_FALSE(manager_.Plugins().empty());
        plugin_ = manager_.Plugins().front().get();
    }

    std::string FileSaying(const std::string& word, const std::string& name = "model.tsx")
    {
        const std::string path = files_.File(name);
        test::WriteBytes(path, {word.begin(), word.end()});
        return path;
    }

    CPluginManager manager_;
    const CPlugin* plugin_ = nullptr;
    test::TempDir files_;
};

const CPlugin* ByFile(const CPluginManager& manager, const std::string& fileName)
{
    for (const auto& plugin : manager.Plugins())
        if (plugin->FileName() == fileName)
            return plugin.get();
    return nullptr;
}

} // namespace

TEST_F(PluginModelInfo, EveryExtensionIsOfferedCleanedAndOnceAndPicksThePlugin)
{
    EXPECT_EQ(plugin_->FileName(), "modeltest.so");
    EXPECT_EQ(plugin_->Extensions(), (std::vector<std::string>{"tst", "TSX", "tsy"}));
    EXPECT_EQ(plugin_->FilterText(), "Test Meshes (*.tst)|*.tst;*.TSX;*.tsy||");
    EXPECT_TRUE(plugin_->Exports(ZELPLUG_GET_FILTER_EXTS));
    EXPECT_TRUE(plugin_->Exports(ZELPLUG_IMPORT_MODEL));
    // The one extension of a plug-in without the export, as before.
    const CPlugin* old = ByFile(manager_, "fulltest.so");
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->Extensions(), std::vector<std::string>{"tst"});
    EXPECT_EQ(old->FilterText(), "Test Meshes (*.tst)|*.tst||");
    // Any of the extensions, in any case, finds the plug-in that has it.
    EXPECT_EQ(manager_.FindForFile("/x/a.tsx"), plugin_);
    EXPECT_EQ(manager_.FindForFile("/x/a.TSY"), plugin_);
    // Else the test plug-in that takes any file.
    EXPECT_EQ(manager_.FindForFile("/x/a.tsz"), ByFile(manager_, "onlyimport.so"));
}

TEST_F(PluginModelInfo, UnitsAxisAndNotesComeBackWithTheMesh)
{
    const Result<ImportedModel> model = manager_.ImportModel(*plugin_, FileSaying("triangle"));
    ASSERT_TRUE(model.ok()) << model.Message();
    EXPECT_EQ(model->set.partCount, 1);
    EXPECT_EQ(model->units, (ModelUnits{2.5f, UpAxis::Y}));
    // Empty lines are dropped; with faces the notes are warnings too.
    EXPECT_EQ(model->notes, (std::vector<std::string>{"one face was left out", "the picture is missing"}));
    EXPECT_EQ(model.Warnings(), model->notes);
}

TEST_F(PluginModelInfo, NotesOfAnEmptyImportSayWhyAndAreNoWarnings)
{
    const Result<ImportedModel> model = manager_.ImportModel(*plugin_, FileSaying("noted-empty"));
    ASSERT_TRUE(model.ok());
    EXPECT_EQ(model->set.partCount, 0);
    EXPECT_EQ(model->notes, std::vector<std::string>{"The model uses a compression this plug-in cannot decode."});
    EXPECT_TRUE(model.Warnings().empty());
}

TEST_F(PluginModelInfo, UnitsOutsideTheirRulesAreUnknownAndOldPluginsSayNothing)
{
    const Result<ImportedModel> bad = manager_.ImportModel(*plugin_, FileSaying("bad-units"));
    ASSERT_TRUE(bad.ok());
    EXPECT_EQ(bad->units, ModelUnits{});
    const CPlugin* old = ByFile(manager_, "fulltest.so");
    ASSERT_NE(old, nullptr);
    const Result<ImportedModel> plain = manager_.ImportModel(*old, FileSaying("triangle", "old.tst"));
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(plain->units, ModelUnits{});
    EXPECT_TRUE(plain->notes.empty());

    MeshModelInfo info{ZELPLUG_MODEL_INFO_VERSION, 1e7f, ZELPLUG_UP_Z, nullptr};
    EXPECT_EQ(UnitsOf(info), (ModelUnits{0.0f, UpAxis::Z}));
    info.metresPerUnit = -1.0f;
    EXPECT_EQ(UnitsOf(info).metresPerUnit, 0.0f);
    info.metresPerUnit = 0.0254f;
    EXPECT_EQ(UnitsOf(info).metresPerUnit, 0.0254f);
}
