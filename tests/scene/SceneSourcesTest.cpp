// A scene file remembers each mesh's model file with the moves of its shape,
// and the scene's cage, in sections after the objects that older readers
// pass over: scenes without them keep the bytes they always had, the values
// read back exactly, and damaged sections are refused with the reason.

#include "scene/COGLBox.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"
#include "tests/scene/TestMesh.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zelvane;

namespace {

std::vector<std::uint8_t> Saved(const COGLScene& scene)
{
    SceneFileWriter out;
    scene.SaveScene(out);
    EXPECT_TRUE(out.Finish()) << out.Error();
    return out.Bytes();
}

SceneLoadResult Load(COGLScene& scene, std::span<const std::uint8_t> bytes)
{
    SceneFileReader in(bytes);
    return scene.LoadScene(in, "/nowhere/room.cgs");
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
}

// A box, then a mesh of the square (with a source when `sourced`).
void Fill(COGLScene& scene, test::TestMesh& square, bool sourced)
{
    scene.AddObject(std::make_unique<COGLBox>());
    auto mesh = std::make_unique<COGLMesh>(square.Set());
    if (sourced) {
        mesh->SetModelPath("/models/square.glb");
        mesh->MoveShape({0.25f, -0.5f, 0.0f});
        mesh->MoveShape({0.0f, 0.0f, 1.0f / 3.0f});
    }
    scene.AddObject(std::move(mesh));
}

} // namespace

TEST(SceneSources, ModelPathsMovesAndCageFollowTheObjectsAndReadBackExactly)
{
    test::TestMesh square = test::SquareMesh(1.0f);
    COGLScene plain;
    Fill(plain, square, false);
    const std::vector<std::uint8_t> without = Saved(plain);

    COGLScene scene;
    Fill(scene, square, true);
    scene.SetSavedCage(CageSize{2, 1, 3});
    const std::vector<std::uint8_t> with = Saved(scene);
    // The moved shape is in the objects; its source and the cage come after them.
    COGLScene movedOnly;
    Fill(movedOnly, square, true);
    dynamic_cast<COGLMesh&>(*movedOnly.Objects()[1]).SetSource({});
    const std::vector<std::uint8_t> objectsOnly = Saved(movedOnly);
    EXPECT_EQ(objectsOnly.size(), without.size()) << "no section without a model path or cage";
    ASSERT_GT(with.size(), objectsOnly.size());
    EXPECT_TRUE(std::equal(objectsOnly.begin(), objectsOnly.end(), with.begin()));
    const auto tagAt = [&](std::size_t at) { return std::string(with.begin() + static_cast<long>(at), with.begin() + static_cast<long>(at) + 4); };
    EXPECT_EQ(tagAt(objectsOnly.size()), "ZSRC");
    EXPECT_EQ(tagAt(with.size() - 8 - scene_file::kCageSectionLength), "ZCAG");

    COGLScene loaded;
    const SceneLoadResult result = Load(loaded, with);
    ASSERT_TRUE(result.Complete()) << result.error;
    const auto& mesh = dynamic_cast<const COGLMesh&>(*loaded.Objects().at(1));
    const MeshSource expected{"/models/square.glb", {{0.25f, -0.5f, 0.0f}, {0.0f, 0.0f, 1.0f / 3.0f}}};
    EXPECT_EQ(mesh.Source(), expected);
    ASSERT_TRUE(loaded.SavedCage());
    EXPECT_EQ(loaded.SavedCage()->width, 2);
    EXPECT_EQ(loaded.SavedCage()->depth, 3);
    EXPECT_EQ(result.objectTextures, (std::vector<std::int32_t>{-1, -1}));
    EXPECT_EQ(Saved(loaded), with) << "saved again byte for byte";

    // A reader that knows only the objects and materials stops at the tag it
    // does not know: the same scene without sources or cage.
    std::vector<std::uint8_t> unknown = with;
    std::memcpy(&unknown[objectsOnly.size()], "ZZZZ", 4);
    COGLScene older;
    ASSERT_TRUE(Load(older, unknown).Complete());
    EXPECT_EQ(dynamic_cast<const COGLMesh&>(*older.Objects().at(1)).Source(), MeshSource{});
    EXPECT_FALSE(older.SavedCage());
}

TEST(SceneSources, DamagedSectionsAreRefusedWithTheReason)
{
    test::TestMesh square = test::SquareMesh(1.0f);
    COGLScene scene;
    Fill(scene, square, true);
    scene.SetSavedCage(CageSize{1, 1, 1});
    const std::vector<std::uint8_t> good = Saved(scene);
    COGLScene twin;
    Fill(twin, square, false);
    const std::size_t sources = Saved(twin).size();
    const std::size_t cage = good.size() - 8 - scene_file::kCageSectionLength;

    const auto errorOf = [](std::vector<std::uint8_t> bytes) {
        COGLScene loaded;
        return Load(loaded, bytes).error;
    };
    std::vector<std::uint8_t> bytes = good;
    Put32(bytes, sources + 12, 0); // the box
    EXPECT_EQ(errorOf(bytes), "the sources of the meshes: the source of entry 1 belongs to object 1, which is no mesh "
                              "of the file (at byte " + std::to_string(sources + 16) + ")");
    bytes = good;
    Put32(bytes, sources + 4, 0x7FFFFFFF);
    EXPECT_NE(errorOf(bytes).find("the sources section is said to be 2147483647 bytes long"), std::string::npos);
    bytes = good;
    Put32(bytes, sources + 16 + 4 + 18, 0x10000000); // the moves of "/models/square.glb"
    EXPECT_NE(errorOf(bytes).find("shape moves of entry 1"), std::string::npos) << errorOf(bytes);
    bytes = good;
    Put32(bytes, cage + 8 + 4, 0);
    EXPECT_EQ(errorOf(bytes), "the cage is 1 x 0 x 1; each side is 1 to 255");
    bytes = good;
    bytes.resize(bytes.size() - 2);
    EXPECT_NE(errorOf(bytes).find("the cage section is said to be 12 bytes long"), std::string::npos);
}
