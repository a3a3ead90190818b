// Materials across the plug-in boundary: the optional export as the host
// calls it (a plug-in built for the seven exports keeps working, one with the
// export gets its records checked and copied, broken records are refused
// naming plug-in, file, part and group while the mesh still comes), and
// meshport's materials from files written here and from real files.

#include "plugins/host/CPluginManager.h"
#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/MeshportImport.h"
#include "tests/plugins/MeshportTestSupport.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zelvane;
namespace fs = std::filesystem;

namespace {

class PluginMaterials : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetReporter(&reporter_);
        static_cast<void>(plugins_.ScanFolder(ZELVANE_MATERIAL_PLUGIN_DIR));
        static_cast<void>(plugins_.ScanFolder(ZELVANE_TEST_PLUGIN_DIR));
        static_cast<void>(plugins_.ScanFolder(fs::path(ZELVANE_MESHPORT_PATH).parent_path().string()));
        reporter_.Clear();
    }
    void TearDown() override { SetReporter(nullptr); }

    const CPlugin& Plugin(const std::string& name) const
    {
        const CPlugin* plugin = plugins_.FindByName(name);
        if (!plugin)
            throw std::runtime_error("no plug-in " + name);
        return *plugin;
    }

    std::string File(const std::string& name, const std::string& word)
    {
        const std::string path = files_.File(name);
        test::WriteBytes(path, {word.begin(), word.end()});
        return path;
    }

    RecordingReporter reporter_;
    CPluginManager plugins_;
    test::TempDir files_;
};

TEST_F(PluginMaterials, APluginWithTheExportHandsOverCheckedMaterialsAndOneWithoutWorksAsBefore)
{
    const CPlugin& materials = Plugin("materialtest");
    EXPECT_TRUE(materials.HasMaterials());
    EXPECT_TRUE(materials.Exports(ZELPLUG_IMPORT_MATERIALS));
    Result<ImportedModel> model = plugins_.ImportModel(materials, File("chair.tst", "mat-good"));
    ASSERT_TRUE(model);
    ASSERT_EQ(model->set.partCount, 1);
    ASSERT_EQ(model->materials.materials.size(), 1u);
    const ModelMaterial& red = model->materials.materials[0];
    EXPECT_EQ(red.name, "version 1") << "the host says which version of the records it reads";
    EXPECT_EQ(red.ambient, (std::array<float, 3>{1, 0, 0}));
    EXPECT_EQ(red.shininess, 20.0f);
    EXPECT_EQ(red.texturePath, files_.File("tex.png"));
    EXPECT_EQ(model->materials.partGroups, (std::vector<std::vector<ModelFaceGroup>>{{{0, {0}}}}));
    EXPECT_EQ(model->set.extentX, 2.0f) << "the set is measured as ever";
    // A file without materials.
    model = plugins_.ImportModel(materials, File("plain.tst", "triangle"));
    ASSERT_TRUE(model);
    EXPECT_TRUE(model->materials.Empty());

    const CPlugin& old = Plugin("fulltest");
    EXPECT_FALSE(old.HasMaterials());
    EXPECT_FALSE(old.Exports(ZELPLUG_IMPORT_MATERIALS));
    model = plugins_.ImportModel(old, File("old.tst", "mat-good"));
    ASSERT_TRUE(model) << "zelplug_Import reads the file";
    EXPECT_EQ(model->set.partCount, 1);
    EXPECT_TRUE(model->materials.Empty());
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(PluginMaterials, BrokenRecordsAreRefusedNamingWhereAndTheMeshStillComes)
{
    const CPlugin& plugin = Plugin("materialtest");
    const std::pair<const char*, std::string> cases[] = {
        {"mat-bad-index", "part 1 (\"Tri\"), group 1: material 1 is outside its 1 materials"},
        {"mat-bad-face", "part 1 (\"Tri\"), group 1: face 1 is outside its 1 faces"},
        {"mat-twice", "part 1 (\"Tri\"), group 2: face 0 is also in group 1"},
        {"mat-no-faces", "part 1 (\"Tri\"), group 1 has 1 faces but no face array"},
        {"mat-parts", "the materials have face groups for 2 parts, the mesh has 1"},
        {"mat-nan", "material 1 (\"version 1\"): its diffuse colour is not a number"},
        {"mat-bright", "material 1 (\"version 1\"): its specular colour lies outside 0 to 1"},
        {"mat-relative", "material 1 (\"version 1\"): its texture path \"tex.png\" is not absolute"},
        {"mat-two-sided", "material 1 has a two-sided flag of 2 (0 or 1 expected)"},
    };
    for (const auto& [word, problem] : cases) {
        const Result<ImportedModel> model = plugins_.ImportModel(plugin, File("bad.tst", word));
        ASSERT_TRUE(model) << word;
        EXPECT_EQ(model->set.partCount, 1) << word;
        EXPECT_TRUE(model->materials.Empty()) << word;
        ASSERT_EQ(model.Warnings().size(), 1u) << word;
        EXPECT_EQ(model.Warnings()[0], "The plug-in \"Test Meshes\" returned materials from \"bad.tst\" "
                                       "that cannot be used: " +
                                           problem + ". The mesh was imported without them.");
    }
}

// --- meshport ------------------------------------------------------------------

// Imports `bytes` as the file `path` with its materials, freeing both.
struct MaterialImport {
    MaterialImport(const std::vector<uint8_t>& bytes, const std::string& path)
    {
        meshport::ImportBytes(bytes, path.c_str(), set, &records, meshport::TraceMode::Skip);
        if (const std::optional<std::string> problem = CopyMaterialRecords(records, set, materials))
            ADD_FAILURE() << *problem;
        if (const std::optional<std::string> problem = CheckModelMaterials(materials, set))
            ADD_FAILURE() << *problem;
    }
    ~MaterialImport()
    {
        meshport::ReleaseMaterials(records);
        meshport::ReleaseMeshSet(set);
    }
    MaterialImport(const MaterialImport&) = delete;
    MaterialImport& operator=(const MaterialImport&) = delete;

    MeshSet set{};
    MeshMaterials records{ZELPLUG_MATERIALS_VERSION, 0, nullptr, 0, nullptr};
    ModelMaterials materials;
};

TEST(MeshportMaterials, ColoursPercentagesAndGroupsBecomeTheRecords)
{
    const test::TempDir dir;
    fs::create_directories(dir.Path() / "Maps");
    test::WriteBytes(dir.File("Maps/Wood.Png"), {1});
    ThreeDSMaterial wood{"Wood", {51, 102, 153}, "maps\\WOOD.png"};
    wood.diffuse = std::array<uint8_t, 3>{255, 0, 0};
    wood.specular = std::array<uint8_t, 3>{255, 255, 255};
    wood.shininess = 50;
    wood.transparency = 25;
    wood.twoSided = true;
    const ThreeDSMaterial glass{"Glass", {}, "C:\\3dsmax\\maps\\GLASS.JPG"};
    ThreeDSMesh table = UnitSquare("Table");
    table.faces.push_back({0, 1, 9}); // past the vertices: dropped, and the groups follow
    table.faces.push_back({1, 2, 3});
    table.groups = {{"GLASS", {0, 3}}, {"wood", {2, 3}}};
    const MaterialImport imported(WriteThreeDS({UnitSquare("Leg"), table}, {wood, glass}), dir.File("table.3ds"));

    ASSERT_EQ(imported.materials.materials.size(), 2u);
    const ModelMaterial& w = imported.materials.materials[0];
    EXPECT_EQ(w.ambient, (std::array<float, 3>{0.2f, 0.4f, 0.6f}));
    EXPECT_EQ(w.diffuse, (std::array<float, 3>{1, 0, 0}));
    EXPECT_EQ(w.shininess, 64.0f) << "50 % of 128";
    EXPECT_FLOAT_EQ(w.opacity, 0.75f);
    EXPECT_TRUE(w.twoSided);
    EXPECT_EQ(w.texturePath, dir.File("Maps/Wood.Png")) << "found without regard to case, folder included";
    EXPECT_EQ(imported.materials.materials[1].texturePath, dir.File("GLASS.JPG"))
        << "a Windows folder means nothing here: the name beside the model, where it would be";
    EXPECT_EQ(imported.materials.materials[1].diffuse, (std::array<float, 3>{0.8f, 0.8f, 0.8f})) << "no diffuse chunk";

    // Faces 0 1 3 of the table are kept (the third, face 2, is dropped):
    // Glass has face 0; face 3 went last to Wood and is now face 2.
    ASSERT_EQ(imported.materials.partGroups.size(), 2u);
    EXPECT_TRUE(imported.materials.partGroups[0].empty()) << "the leg has no groups";
    EXPECT_EQ(imported.materials.partGroups[1], (std::vector<ModelFaceGroup>{{0, {2}}, {1, {0}}}));

    // Materials without groups: listed, no groups; a file without either: nothing.
    const MaterialImport ungrouped(WriteThreeDS({UnitSquare("Leg")}, {wood}), dir.File("leg.3ds"));
    EXPECT_EQ(ungrouped.materials.materials.size(), 1u);
    EXPECT_TRUE(ungrouped.materials.partGroups.empty());
    const MaterialImport plain(WriteThreeDS({UnitSquare("Leg")}), dir.File("plain.3ds"));
    EXPECT_TRUE(plain.materials.Empty());
}

TEST(MeshportMaterials, RealFilesGiveTheirMaterialsAndTextureNames)
{
    const fs::path dir = test::TestDataDir();
    if (dir.empty())
        GTEST_SKIP() << "real test files are absent";
    const auto read = [&](const std::string& name) {
        const std::string path = (dir / "3ds" / name).string();
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    };
    const std::string folder = (dir / "3ds").lexically_normal().string();
    const MaterialImport alpha(read("cubes_with_alpha.3DS"), folder + "/cubes_with_alpha.3DS");
    ASSERT_EQ(alpha.materials.materials.size(), 5u);
    const ModelMaterial& transparent = alpha.materials.materials[4];
    EXPECT_EQ(transparent.name, "Transparent");
    EXPECT_FLOAT_EQ(transparent.opacity, 0.83f);
    EXPECT_EQ(transparent.diffuse, (std::array<float, 3>{0xb2 / 255.0f, 0x08 / 255.0f, 0}));
    EXPECT_FLOAT_EQ(transparent.shininess, 12.8f);
    EXPECT_EQ(alpha.materials.materials[1].texturePath, folder + "/BERETTA_.JPG") << "missing, where it would be";
    std::size_t grouped = 0;
    for (const auto& groups : alpha.materials.partGroups)
        for (const ModelFaceGroup& group : groups)
            grouped += group.faces.size();
    EXPECT_GT(grouped, 0u);

    const MaterialImport textured(read("test1.3ds"), folder + "/test1.3ds");
    std::vector<std::string> textures;
    for (const ModelMaterial& material : textured.materials.materials)
        textures.push_back(fs::path(material.texturePath).filename().string());
    EXPECT_EQ(textures, (std::vector<std::string>{"IMAGE1.JPG", "CWALL02.JPG", "IMAGE2.JPG"}));

    const MaterialImport fels(read("fels.3ds"), folder + "/fels.3ds");
    ASSERT_EQ(fels.materials.materials.size(), 1u);
    EXPECT_EQ(fels.materials.materials[0].diffuse, (std::array<float, 3>{200 / 255.0f, 200 / 255.0f, 200 / 255.0f}));
    EXPECT_FLOAT_EQ(fels.materials.materials[0].specular[0], 0.0f);
}

} // namespace
