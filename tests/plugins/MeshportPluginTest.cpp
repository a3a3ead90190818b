// meshport as the editor meets it: the library loaded by the host, imports through the export (trace file included), and every real
// 3D Studio file counted against an independent walk of its chunks.

#include "plugins/host/CPluginManager.h"
#include "tests/plugins/ChunkCensus.h"
#include "tests/plugins/MeshportTestSupport.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/ScopedEnvironment.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;
namespace fs = std::filesystem;

namespace {

class MeshportPlugin : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetReporter(&reporter_);
        static_cast<void>(manager_.ScanFolder(fs::path(ZELVANE_MESHPORT_PATH).parent_path().string()));
        // meshport and modelport.
        ASSERT_EQ(manager_.Plugins().size(), 2u);
        ASSERT_NE(manager_.FindByName("meshport"), nullptr);
    }
    void TearDown() override { SetReporter(nullptr); }

    const CPlugin& Meshport() const { return *manager_.FindByName("meshport"); }

    RecordingReporter reporter_;
    CPluginManager manager_;
};

} // namespace

TEST_F(MeshportPlugin, ImportsThroughTheExportAndLeavesTheTrace)
{
    const test::TempDir dir;
    const test::CurrentFolder here(dir.Path());
    test::ScopedEnvironment env;
    env.Set("ZELVANE_LOG_DIR", (dir.Path() / "logs").string());
    ThreeDSMesh table = UnitSquare("Table");
    table.vertices[2] = {4, 6, -2};
    table.groups = {{"Wood", {0}}, {"Metal", {0, 1}}};
    const std::string path = dir.File("Table.3DS");
    test::WriteBytes(path, WriteThreeDS({UnitSquare("Leg"), table}, {{"Wood", {}, "wood.bmp"}}));

    const Result<MeshSet> set = manager_.Import(*manager_.FindForFile(path), path);
    ASSERT_TRUE(set);
    EXPECT_EQ(test::ContractProblem(*set), "");
    EXPECT_STREQ(set->name, "Table");
    ASSERT_EQ(set->partCount, 2);
    EXPECT_STREQ(set->parts[1].name, "Table");
    EXPECT_EQ(set->parts[1].vertices[2].z, -2.0f);
    EXPECT_EQ(set->extentX, 2.0f);
    EXPECT_EQ(set->extentY, 3.0f);
    EXPECT_EQ(set->extentZ, 1.0f);
    // The trace goes into the log folder, made for it, and not where the editor was started.
    EXPECT_EQ(test::ReadText(dir.Path() / "logs" / "z.txt"), "NF 2\n");
    EXPECT_FALSE(fs::exists(dir.Path() / "z.txt"));

    // Missing files and other formats give empty sets, and nobody is told.
    test::WriteBytes(dir.File("notes.3ds"), {'h', 'e', 'l', 'l', 'o'});
    for (const std::string& unreadable : {dir.File("missing.3ds"), dir.File("notes.3ds"), dir.Path().string()}) {
        const Result<MeshSet> empty = manager_.Import(Meshport(), unreadable);
        ASSERT_TRUE(empty) << unreadable;
        EXPECT_EQ(empty->partCount, 0);
    }
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(MeshportPlugin, EveryRealFileImportsWithTheCountsItsChunksHold)
{
    const fs::path dir = test::TestDataDir();
    if (dir.empty())
        GTEST_SKIP() << "real test files are absent";
    const test::TempDir work;
    test::ScopedEnvironment env;
    env.Set("ZELVANE_LOG_DIR", work.Path().string()); // the trace goes here
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir / "3ds")) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (extension != ".3ds")
            continue;
        ++files;
        const std::string name = entry.path().filename().string();
        const test::ChunkCensus census = test::CountMeshes(test::ReadBytes(entry.path().string()));
        ASSERT_EQ(census.error, "") << name;
        ASSERT_FALSE(census.meshes.empty()) << name;

        const Result<MeshSet> set = manager_.Import(Meshport(), entry.path().string());
        ASSERT_TRUE(set) << name;
        EXPECT_EQ(test::ContractProblem(*set), "") << name;
        ASSERT_EQ(set->partCount, static_cast<int32_t>(census.meshes.size())) << name;
        for (int32_t i = 0; i < set->partCount; ++i) {
            const MeshPart& part = set->parts[i];
            const test::MeshCensus& expected = census.meshes[static_cast<size_t>(i)];
            EXPECT_EQ(part.name, expected.objectName) << name;
            EXPECT_EQ(part.vertexCount, static_cast<int32_t>(expected.vertices)) << name << " " << part.name;
            EXPECT_EQ(part.faceCount, static_cast<int32_t>(expected.faces)) << name << " " << part.name;
            // One mapping coordinate per vertex, whether the file has a mapping list (as long) or not.
            EXPECT_EQ(part.texCoordCount, static_cast<int32_t>(expected.vertices)) << name << " " << part.name;
            if (expected.mapping != 0) {
                EXPECT_EQ(expected.mapping, expected.vertices) << name << " " << part.name;
            }
        }
        EXPECT_GT(set->extentX + set->extentY + set->extentZ, 0.0f) << name;
    }
    EXPECT_EQ(files, 7);
}
