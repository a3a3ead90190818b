// Pictures taken out of imported models live in the user's cache folder; a
// saved scene takes them along beside its file, so that it opens with its
// textures when the cache is gone.

#include "document/CachedTextures.h"
#include "document/SceneFile.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/WindowsBitmap.h"
#include "tests/scene/GLStage.h"
#include "tests/scene/TestMesh.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zelvane {
namespace {

namespace fs = std::filesystem;

// A mesh whose one group shows `picture`.
std::unique_ptr<COGLMesh> TexturedMesh(test::TestMesh& square, const std::string& picture)
{
    ModelMaterials materials;
    ModelMaterial material;
    material.texturePath = picture;
    materials.materials.push_back(material);
    materials.partGroups = {{ModelFaceGroup{0, {0, 1}}}, {}}; // the square and its empty part
    return std::make_unique<COGLMesh>(square.Set(), std::move(materials));
}

TEST(CachedTextures, ASavedSceneTakesItsCachedPicturesAlongAndOpensWithoutTheCache)
{
    test::GLStage stage(32, 32);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    const test::TempDir cache, folder;
    const std::string cacheFolder = cache.Path().string() + "/zelvane/";
    fs::create_directories(cacheFolder);
    const std::vector<uint8_t> bytes = EncodeWindowsBitmap(PlainImage(4, 4, 3, 0x60));
    const std::string cached = cacheFolder + "0123456789abcdef.bmp";
    test::WriteBytes(cached, bytes);
    const std::string elsewhere = folder.File("own.bmp");
    test::WriteBytes(elsewhere, bytes);

    test::TestMesh square = test::SquareMesh(1);
    COGLScene scene;
    scene.AddObject(TexturedMesh(square, cached));
    scene.AddObject(TexturedMesh(square, cached));
    scene.AddObject(TexturedMesh(square, elsewhere));
    EXPECT_EQ(CachedTexturesOf(scene, cacheFolder), std::vector<std::string>{cached});
    EXPECT_TRUE(CachedTexturesOf(scene, "").empty());

    ::setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    fs::create_directories(folder.Path() / "saved");
    const std::string path = folder.File("saved/room.cgs");
    const Status saved = WriteSceneFile(path, scene);
    ASSERT_TRUE(saved.ok()) << saved.Message();
    EXPECT_TRUE(saved.Warnings().empty());
    EXPECT_EQ(test::ReadBytes(folder.File("saved/0123456789abcdef.bmp")), bytes);

    fs::remove(cached);
    COGLScene opened;
    SceneLoadResult details;
    ASSERT_TRUE(ReadSceneFile(path, opened, details).ok());
    ASSERT_EQ(opened.Objects().size(), 3u);
    const auto& mesh = dynamic_cast<const COGLMesh&>(*opened.Objects()[0]);
    EXPECT_TRUE(mesh.MissingTextures().empty());
    ASSERT_EQ(mesh.Groups().size(), 1u);
    EXPECT_TRUE(mesh.Groups()[0].textureShown);

    // Saved again with the picture gone from the cache: said, and saved all the same.
    const Status again = WriteSceneFile(folder.File("again.cgs"), scene);
    EXPECT_TRUE(again.ok());
    ASSERT_EQ(again.Warnings().size(), 1u);
    EXPECT_NE(again.Warnings()[0].find("no longer in the cache folder"), std::string::npos);
    ::unsetenv("XDG_CACHE_HOME");
}

} // namespace
} // namespace zelvane
