// Importing a mesh into the scene through a plug-in: a new mesh object,
// unselected, made from the set the plug-in fills; a set that breaks the
// contract adds nothing; an unreadable file adds an empty mesh.

#include "document/MeshImport.h"
#include "plugins/host/CPluginManager.h"
#include "scene/COGLBox.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zelvane {
namespace {

TEST(MeshImport, AddsTheMeshUnselectedOrNothingWhenTheSetIsRefused)
{
    RecordingReporter messages;
    SetReporter(&messages);
    CPluginManager plugins;
    plugins.ScanFolder(ZELVANE_TEST_PLUGIN_DIR);
    const CPlugin* plugin = plugins.FindByName("fulltest");
    ASSERT_NE(plugin, nullptr);
    messages.Clear();

    test::TempDir folder;
    const auto file = [&](const std::string& name, const std::string& word) {
        std::ofstream(folder.File(name)) << word;
        return folder.File(name);
    };
    COGLScene scene;
    COGLObject& box = scene.AddObject(std::make_unique<COGLBox>());
    scene.SetSelectedObject(&box);

    const COGLMesh* mesh = RunImport(plugins, plugin->CommandId(), file("lamp.msh", "triangle"), scene);
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(scene.Objects().size(), 2u);
    EXPECT_EQ(scene.Objects()[1].get(), mesh);
    EXPECT_EQ(scene.SelectedObject(), &box) << "the new mesh is not selected";
    EXPECT_STREQ(mesh->GetMeshSet().name, "lamp") << "named after the file";
    EXPECT_EQ(mesh->Extent(), (Vector3{2, 3, 2})) << "half the triangle's bounding box";
    EXPECT_EQ(mesh->Scale(), (Vector3{0.05f, 0.05f, 0.05f}));
    EXPECT_EQ(mesh->TriangleCount(), 1);

    EXPECT_EQ(ImportIntoScene(plugins, *plugin, file("bad.msh", "bad-vertex"), scene), nullptr);
    EXPECT_EQ(scene.Objects().size(), 2u);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("vertex index 3 is outside its 3 vertices"), std::string::npos);

    const COGLMesh* empty = ImportIntoScene(plugins, *plugin, file("unreadable.msh", "gibberish"), scene);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->TriangleCount(), 0);
    EXPECT_EQ(scene.Objects().size(), 3u);
    EXPECT_EQ(RunImport(plugins, 0, folder.File("lamp.msh"), scene), nullptr) << "no plug-in has that command";
    SetReporter(nullptr);
}

} // namespace
} // namespace zelvane
