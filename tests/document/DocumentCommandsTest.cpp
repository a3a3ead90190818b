// The document's commands: each is one undo step that undoes and redoes
// exactly, leaves a selection that is in the scene, is announced once with
// what it touched, and counts as an unsaved change only when a saved scene
// would keep it. The panels' models read the document and so follow every
// undo and redo.

#include "document/COGLDoc.h"
#include "document/MeshPanelModel.h"
#include "document/ObjectPanelModel.h"
#include "document/TextureCommands.h"
#include "scene/COGLLight.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/COGLText.h"
#include "scene/COGLTexture2D.h"
#include "scene/ObjectFactory.h"
#include "scene/WindowsBitmap.h"
#include "tests/scene/GLStage.h"
#include "tests/scene/TestMesh.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zelvane {
namespace {

class DocumentCommands : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(stage_.ok()) << stage_.Error();
        SetReporter(&reporter_);
        doc_.NewScene(test::TestMapsFolder());
        notices_.clear();
    }
    void TearDown() override
    {
        doc_.CloseScene();
        SetReporter(nullptr);
    }

    COGLScene& Scene() { return *doc_.Scene(); }
    COGLObject& AddBox() { return doc_.AddObject(CreateObjectOfKind(ObjectKind::Box), "Add"); }
    // The notices since the last call, and none after.
    std::vector<DocumentChanges> Notices() { return std::exchange(notices_, {}); }

    std::string File(const std::string& name, const std::string& text)
    {
        std::ofstream(folder_.File(name)) << text;
        return folder_.File(name);
    }
    const CPlugin& TestPlugin()
    {
        static_cast<void>(doc_.Plugins().ScanFolder(ZELVANE_TEST_PLUGIN_DIR)); // its warnings are the host's tests'
        const CPlugin* plugin = doc_.Plugins().FindByName("fulltest");
        EXPECT_NE(plugin, nullptr);
        return *plugin;
    }

    test::GLStage stage_{64, 64};
    RecordingReporter reporter_;
    test::TempDir folder_;
    COGLDoc doc_{std::nullopt, {}, folder_.File("zeltemp.iff")};
    std::vector<DocumentChanges> notices_;
    Signal<DocumentChanges>::Connection listening_ =
        doc_.Changed().Connect([this](DocumentChanges changes) { notices_.push_back(changes); });
};

TEST_F(DocumentCommands, AddCopyDeleteAndClearAreStepsThatKeepTheSelectionInTheScene)
{
    EXPECT_FALSE(doc_.HasUnsavedChanges()) << "a new scene";
    COGLObject& box = AddBox();
    EXPECT_EQ(doc_.Selection().object, &box);
    EXPECT_EQ(Scene().SelectedObject(), &box) << "drawn selected";
    EXPECT_EQ(Notices(), std::vector<DocumentChanges>{kSceneChanged | kSelectionChanged | kHistoryChanged});
    EXPECT_TRUE(doc_.HasUnsavedChanges());

    ASSERT_TRUE(doc_.CopySelection());
    COGLObject* copy = doc_.Selection().object;
    ASSERT_NE(copy, &box);
    EXPECT_EQ(copy->Name(), "Copy of " + box.Name());
    EXPECT_EQ(doc_.History().UndoText(), "Copy");

    // Undoing the copy takes it out of the scene, and out of the selection.
    doc_.Undo();
    EXPECT_EQ(Scene().Objects().size(), 1u);
    EXPECT_TRUE(doc_.Selection().IsEmpty());
    EXPECT_EQ(Scene().SelectedObject(), nullptr);
    doc_.Redo();
    EXPECT_EQ(Scene().Objects()[1].get(), copy) << "the very same object comes back";

    doc_.Select({&box, nullptr});
    Notices();
    ASSERT_TRUE(doc_.DeleteSelection());
    EXPECT_EQ(Notices(), std::vector<DocumentChanges>{kSceneChanged | kSelectionChanged | kHistoryChanged});
    EXPECT_TRUE(doc_.Selection().IsEmpty());
    EXPECT_FALSE(doc_.DeleteSelection()) << "nothing selected";
    doc_.Undo();
    EXPECT_EQ(Scene().Objects()[0].get(), &box) << "back where it stood";

    doc_.ClearScene();
    EXPECT_TRUE(Scene().Objects().empty());
    EXPECT_EQ(doc_.History().UndoText(), "Clear the Scene");
    doc_.Undo();
    EXPECT_EQ(Scene().Objects().size(), 2u);

    // Undone back to the new scene: nothing to save.
    while (doc_.CanUndo())
        doc_.Undo();
    EXPECT_TRUE(Scene().Objects().empty());
    EXPECT_FALSE(doc_.HasUnsavedChanges());
    doc_.Select({&box, nullptr});
    EXPECT_TRUE(doc_.Selection().IsEmpty()) << "an object the scene does not hold selects nothing";
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(DocumentCommands, CopiesAreMadeOfEveryObjectTextsWithLettersMeshesSharingTheirRecords)
{
    auto text = std::make_unique<COGLText>();
    text->ReplaceText("Hi");
    COGLObject& original = doc_.AddObject(std::move(text), "Add");
    ASSERT_TRUE(doc_.CopySelection());
    auto* copy = dynamic_cast<COGLText*>(doc_.Selection().object);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, &original);
    EXPECT_EQ(copy->Text(), "Hi");
    EXPECT_NE(copy->SolidList(), original.SolidList());

    const CPlugin& plugin = TestPlugin();
    const Result<COGLMesh*> mesh = doc_.ImportFile(File("lamp.tst", "triangle"), &plugin);
    ASSERT_TRUE(mesh) << mesh.Message();
    (*mesh)->RotateY(30.0f);
    doc_.Select({*mesh, nullptr});
    ASSERT_TRUE(doc_.CanCopySelection());
    ASSERT_TRUE(doc_.CopySelection());
    EXPECT_EQ(Scene().Objects().size(), 4u);
    auto* meshCopy = dynamic_cast<COGLMesh*>(doc_.Selection().object);
    ASSERT_NE(meshCopy, nullptr);
    EXPECT_NE(meshCopy, *mesh);
    EXPECT_EQ(doc_.History().UndoText(), "Copy");
    // The same records, lists of its own, in the same place.
    EXPECT_EQ(meshCopy->GetMeshSet().parts, (*mesh)->GetMeshSet().parts);
    EXPECT_EQ(meshCopy->GetMeshSet().parts[0].vertices, (*mesh)->GetMeshSet().parts[0].vertices);
    EXPECT_NE(meshCopy->MeshSolidList(), 0u);
    EXPECT_NE(meshCopy->MeshSolidList(), (*mesh)->MeshSolidList());
    EXPECT_EQ(meshCopy->Name(), "Copy of Mesh");
    EXPECT_EQ(ObjectPlacement::Of(*meshCopy), ObjectPlacement::Of(**mesh));
    EXPECT_EQ(meshCopy->Extent(), (*mesh)->Extent());

    // Both go into a scene file whole, and come back as two meshes alike.
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("copies.cgs")).ok());
    doc_.Undo(); // the copy goes with its step; its records stay with the original
    EXPECT_EQ((*mesh)->GetMeshSet().parts[0].vertexCount, 3);
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("copies.cgs")).ok());
    ASSERT_EQ(Scene().Objects().size(), 4u);
    auto* first = dynamic_cast<COGLMesh*>(Scene().Objects()[2].get());
    auto* second = dynamic_cast<COGLMesh*>(Scene().Objects()[3].get());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->VertexBox().Size(), second->VertexBox().Size());
    EXPECT_EQ(ObjectPlacement::Of(*first), ObjectPlacement::Of(*second));

    // A light is no object to copy.
    doc_.Select({nullptr, Scene().Lights().front().get()});
    EXPECT_FALSE(doc_.CanCopySelection());
    EXPECT_FALSE(doc_.CopySelection());
    EXPECT_EQ(Scene().Objects().size(), 4u);
}

TEST_F(DocumentCommands, ImportAddsAMeshSelectedOnTheFootprintOrNothingWithTheReason)
{
    const CPlugin& plugin = TestPlugin();
    AddBox();
    Notices();

    const Result<COGLMesh*> lamp = doc_.ImportFile(File("lamp.tst", "triangle"), &plugin);
    ASSERT_TRUE(lamp) << lamp.Message();
    EXPECT_EQ(Notices(), std::vector<DocumentChanges>{kSceneChanged | kSelectionChanged | kHistoryChanged});
    EXPECT_EQ(doc_.Selection().object, *lamp) << "the new mesh is selected, ready to be placed";
    EXPECT_STREQ((*lamp)->GetMeshSet().name, "lamp") << "named after the file";
    EXPECT_EQ((*lamp)->Extent(), (Vector3{2, 3, 2})) << "half the triangle's bounding box";
    EXPECT_EQ(doc_.History().UndoText(), "Import");

    const std::size_t steps = doc_.History().Count();
    const Result<COGLMesh*> bad = doc_.ImportFile(File("bad.tst", "bad-vertex"), &plugin);
    EXPECT_FALSE(bad);
    EXPECT_NE(bad.Message().find("vertex index 3 is outside its 3 vertices"), std::string::npos) << bad.Message();
    const Result<COGLMesh*> nothing = doc_.ImportFile(File("notes.tst", "gibberish"), &plugin);
    EXPECT_FALSE(nothing);
    EXPECT_EQ(nothing.Message(), folder_.File("notes.tst") + ": no meshes found");
    EXPECT_EQ(doc_.History().Count(), steps) << "a refused import is no step";
    EXPECT_EQ(Scene().Objects().size(), 2u);
    EXPECT_TRUE(Notices().empty());
    EXPECT_TRUE(reporter_.Messages().empty()) << "the document shows nothing itself";

    COGLDoc bare(std::nullopt, {}, folder_.File("bare.iff"));
    bare.NewScene(test::TestMapsFolder());
    const Result<COGLMesh*> none = bare.ImportFile(File("model.3ds", "triangle"));
    EXPECT_EQ(none.Message(), "No plug-in imports this kind of file:\n" + folder_.File("model.3ds"));
    bare.CloseScene();
}

TEST_F(DocumentCommands, AModelsUnitsSetTheMeshUpAndItsNotesSayWhyNothingCame)
{
    static_cast<void>(doc_.Plugins().ScanFolder(ZELVANE_MODEL_PLUGIN_DIR));
    // Drops are taken for every extension of every plug-in, and scene files.
    EXPECT_TRUE(doc_.OpensDroppedFile("/x/a.TSX"));
    EXPECT_TRUE(doc_.OpensDroppedFile("/x/room.CGS"));
    EXPECT_FALSE(doc_.OpensDroppedFile("/x/a.fbx"));
    EXPECT_FALSE(doc_.OpensDroppedFile("/x/tsy"));

    const Result<COGLMesh*> mesh = doc_.ImportFile(File("lamp.tsy", "triangle"));
    ASSERT_TRUE(mesh) << mesh.Message();
    // 2.5 m to the file's unit, at 0.9 m to the tile; +y up needs no turn.
    EXPECT_FLOAT_EQ((*mesh)->Scale().x, 2.5f / 0.9f);
    EXPECT_EQ((*mesh)->Orientation(), Quaternion{});
    EXPECT_EQ((*mesh)->DefaultUpAxis(), UpAxis::Y);
    EXPECT_EQ(mesh.Warnings(), (std::vector<std::string>{"one face was left out", "the picture is missing"}));
    const Result<COGLMesh*> empty = doc_.ImportFile(File("packed.tsx", "noted-empty"));
    EXPECT_EQ(empty.Message(),
              folder_.File("packed.tsx") + ": The model uses a compression this plug-in cannot decode.");
}

TEST_F(DocumentCommands, ADragIsOneStepACancelNoneAndALightMarkerIsNoSavedChange)
{
    COGLObject& box = AddBox();
    EXPECT_FALSE(doc_.OpenSceneFile(folder_.File("none.cgs")));
    EXPECT_EQ(doc_.PathName(), "");
    EXPECT_EQ(Scene().Objects().size(), 1u) << "a file that is not there leaves the scene as it was";
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("room.cgs")).ok());
    EXPECT_FALSE(doc_.HasUnsavedChanges());
    EXPECT_EQ(doc_.PathName(), folder_.File("room.cgs")) << "a saved scene is that file from now on";

    const ObjectPlacement before = ObjectPlacement::Of(box);
    box.Translate(1, 0, 0);
    doc_.PlacementMoved(box);
    box.Translate(1, 0, 0);
    doc_.PlacementMoved(box);
    EXPECT_EQ(Notices().back(), kSceneChanged) << "drawn at once, no step yet";
    doc_.CommitPlacement(box, before, "Move");
    EXPECT_EQ(doc_.History().UndoText(), "Move");
    EXPECT_TRUE(doc_.HasUnsavedChanges());
    doc_.Undo();
    EXPECT_EQ(ObjectPlacement::Of(box), before);
    EXPECT_FALSE(doc_.HasUnsavedChanges());
    doc_.Redo();
    EXPECT_EQ(box.Position().x, before.position.x + 2);

    const std::size_t steps = doc_.History().Count();
    const ObjectPlacement moved = ObjectPlacement::Of(box);
    box.RotateY(30);
    doc_.CancelPlacement(box, moved);
    EXPECT_EQ(ObjectPlacement::Of(box), moved);
    doc_.CommitPlacement(box, moved, "Rotate");
    EXPECT_EQ(doc_.History().Count(), steps) << "neither a cancel nor a drag that went nowhere is a step";

    // A light's marker moves as a step, but scene files keep no lights.
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("room.cgs")).ok());
    COGLLight& light = *Scene().Lights()[0];
    doc_.Select({nullptr, &light});
    ASSERT_EQ(doc_.SelectionTarget(), light.Marker());
    const ObjectPlacement marker = ObjectPlacement::Of(*light.Marker());
    light.Marker()->Translate(0, 1, 0);
    doc_.CommitPlacement(*light.Marker(), marker, "Move");
    EXPECT_EQ(doc_.History().UndoText(), "Move");
    EXPECT_FALSE(doc_.HasUnsavedChanges());
}

TEST_F(DocumentCommands, TexturesLoadAsStepsAndAnObjectsTextureChangesAsOne)
{
    COGLObject& box = AddBox();
    MeshPanelModel panel(doc_);
    const std::size_t steps = doc_.History().Count();
    EXPECT_FALSE(panel.LoadTexture(folder_.File("missing.bmp")));
    EXPECT_EQ(reporter_.Messages().size(), 1u) << "the image loader says why";
    panel.SetUseTexture(true); // none chosen: nothing to attach
    EXPECT_EQ(doc_.History().Count(), steps);

    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("room.cgs")).ok());
    const std::string slate = folder_.File("Slate.bmp");
    test::WriteBytes(slate, EncodeWindowsBitmap(PlainImage(4, 4, 3, 200)));
    ASSERT_TRUE(panel.LoadTexture(slate));
    EXPECT_EQ(doc_.History().UndoText(), "Load Texture");
    EXPECT_TRUE(doc_.HasUnsavedChanges()) << "a saved scene keeps its textures";
    EXPECT_EQ(panel.SelectedTexture(), 0);
    panel.SetUseTexture(true);
    EXPECT_EQ(box.Texture(), Scene().Textures()[0].get());
    panel.SetEffectedByLighting(false);
    EXPECT_EQ(box.TextureEnvMode(), static_cast<GLenum>(GL_DECAL));
    EXPECT_EQ(doc_.History().UndoText(), "Effected by Lighting");

    doc_.Undo();
    doc_.Undo();
    EXPECT_EQ(box.Texture(), nullptr);
    doc_.Undo();
    EXPECT_TRUE(Scene().Textures().empty()) << "the loaded texture goes with its step";
    EXPECT_EQ(panel.SelectedTexture(), -1);
    EXPECT_FALSE(doc_.HasUnsavedChanges());
    doc_.Redo();
    doc_.Redo();
    EXPECT_EQ(box.Texture(), Scene().Textures()[0].get()) << "the same texture comes back";
}

TEST_F(DocumentCommands, AFaceGroupsTextureIsReplacedAsAStepAndAPictureThatDoesNotLoadChangesNothing)
{
    test::TestMesh square = test::SquareMesh(1);
    const std::string oak = folder_.File("oak.bmp");
    const std::string slate = folder_.File("slate.bmp");
    test::WriteBytes(oak, EncodeWindowsBitmap(PlainImage(4, 4, 3, 90)));
    test::WriteBytes(slate, EncodeWindowsBitmap(PlainImage(4, 4, 3, 200)));
    ModelMaterials materials;
    materials.materials.push_back({});
    materials.materials[0].name = "Wood";
    materials.materials[0].texturePath = oak;
    materials.partGroups = {{{0, {0}}}, {}};
    auto& mesh = static_cast<COGLMesh&>(doc_.AddObject(std::make_unique<COGLMesh>(square.Set(), materials), "Import"));
    MeshPanelModel panel(doc_);
    ASSERT_EQ(panel.FaceGroups().size(), 1u);
    EXPECT_EQ(panel.FaceGroups()[0].materialName, "Wood");
    EXPECT_TRUE(panel.FaceGroups()[0].textureShown);
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("room.cgs")).ok());

    ASSERT_TRUE(panel.SetFaceGroupTexture(slate).ok());
    EXPECT_EQ(mesh.GroupTexturePaths()[0][0], slate);
    EXPECT_EQ(doc_.History().UndoText(), "Group Texture");
    EXPECT_TRUE(doc_.HasUnsavedChanges()) << "a saved scene keeps group textures";
    doc_.Undo();
    EXPECT_EQ(mesh.GroupTexturePaths()[0][0], oak);
    EXPECT_FALSE(doc_.HasUnsavedChanges());
    doc_.Redo();
    ASSERT_TRUE(panel.SetFaceGroupTexture({}).ok()) << "taken away";
    EXPECT_EQ(panel.FaceGroups()[0].texturePath, "");

    const std::size_t steps = doc_.History().Count();
    const Status broken = panel.SetFaceGroupTexture(File("notes.png", "not a picture"));
    EXPECT_FALSE(broken);
    EXPECT_NE(broken.Message().find("notes.png"), std::string::npos) << broken.Message();
    EXPECT_EQ(doc_.History().Count(), steps);
    EXPECT_EQ(panel.FaceGroups()[0].texturePath, "");
    doc_.Select({});
    EXPECT_FALSE(panel.SetFaceGroupTexture(slate)) << "no mesh chosen";
}

TEST_F(DocumentCommands, TheMeshPanelFollowsTheSelectionThroughUndoAndRedo)
{
    const CPlugin& plugin = TestPlugin();
    MeshPanelModel panel(doc_);
    const Result<COGLMesh*> lamp = doc_.ImportFile(File("lamp.tst", "triangle"), &plugin);
    ASSERT_TRUE(lamp);
    doc_.Select({*lamp, nullptr});
    ASSERT_EQ(panel.Groups().size(), 1u);
    EXPECT_EQ(panel.MeshFaces(), 1);
    panel.SelectGroup(7);
    EXPECT_EQ(panel.SelectedGroup(), 0) << "outside the list: the first group";

    doc_.Undo(); // the import
    EXPECT_EQ(panel.PanelObject(), nullptr);
    EXPECT_TRUE(panel.Groups().empty());
    EXPECT_EQ(panel.MeshFaces(), 0);
    EXPECT_EQ(panel.SelectedGroup(), -1);
    doc_.Redo();
    doc_.Select({*lamp, nullptr});
    doc_.ClearScene();
    EXPECT_EQ(panel.PanelObject(), nullptr);
    doc_.Undo();
    EXPECT_EQ(panel.PanelObject(), nullptr) << "undo brings the objects back, not the selection";
}

TEST_F(DocumentCommands, CageAndZoomAreStepsButNoUnsavedChange)
{
    ObjectPanelModel panel(doc_);
    panel.SetCageSide(CageSide::Height, 9);
    panel.SetCageSide(CageSide::Depth, 0); // already 1
    panel.SetZoom(ZoomPreset::Medium);     // already medium
    EXPECT_EQ(doc_.Cage().height, 6);
    EXPECT_EQ(doc_.Cage().depth, 1);
    ASSERT_EQ(doc_.History().Count(), 1u);
    EXPECT_EQ(Notices(), std::vector<DocumentChanges>{kViewOptionsChanged | kHistoryChanged});
    panel.SetZoom(ZoomPreset::Far);
    EXPECT_EQ(doc_.Zoom(), ZoomPreset::Far);
    EXPECT_FALSE(doc_.HasUnsavedChanges()) << "a scene file keeps neither";
    doc_.Undo();
    doc_.Undo();
    EXPECT_EQ(doc_.Cage().height, 1);
    EXPECT_EQ(doc_.Zoom(), ZoomPreset::Medium);
    doc_.ReleaseZoomPreset();
    EXPECT_EQ(panel.Zoom(), ZoomPreset::Free);
    EXPECT_EQ(doc_.History().Count(), 2u) << "leaving the presets is no step";

    // Without a working object there is nothing to edit, and the panel says why.
    const Result<CObjectFile*> file = panel.FileForProperties();
    EXPECT_FALSE(file);
    EXPECT_EQ(file.Message(), "Please set the base object to clone attributes from first.");
    bool ran = false;
    EXPECT_FALSE(doc_.ReplaceObjectFile("Import Sprites", [&](const std::string&) {
        ran = true;
        return Status::Ok();
    }));
    EXPECT_FALSE(ran) << "nothing to replace";
    EXPECT_EQ(doc_.History().Count(), 2u);
}

TEST_F(DocumentCommands, OpeningEmptiesTheHistoryInOnePlace)
{
    AddBox();
    AddBox();
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("two.cgs")).ok());
    doc_.ClearScene();
    EXPECT_TRUE(doc_.HasUnsavedChanges());
    Notices();
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("two.cgs")).ok());
    EXPECT_EQ(Notices(), std::vector<DocumentChanges>{kSceneChanged | kSelectionChanged | kHistoryChanged |
                                                      kPathChanged});
    EXPECT_EQ(Scene().Objects().size(), 2u);
    EXPECT_EQ(doc_.History().Count(), 0u);
    EXPECT_FALSE(doc_.HasUnsavedChanges());
    EXPECT_TRUE(doc_.Selection().IsEmpty());
    const Status other = doc_.OpenSceneFile(folder_.File("two.txt"));
    EXPECT_FALSE(other);
    EXPECT_EQ(Scene().Objects().size(), 2u) << "another extension changes nothing";

    // A new scene forgets it all.
    doc_.NewScene(test::TestMapsFolder());
    EXPECT_TRUE(Scene().Objects().empty());
    EXPECT_EQ(doc_.PathName(), "");
    EXPECT_FALSE(doc_.CanUndo());
}

TEST_F(DocumentCommands, AScenesCageIsTheDocumentsWhenItsFileKeepsOne)
{
    AddBox();
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("plain.cgs")).ok());
    doc_.SetCage({2, 1, 2});
    EXPECT_FALSE(doc_.HasUnsavedChanges()) << "a scene without a kept cage does not save it";

    // A file that keeps its cage (as the command-line tool writes them).
    Scene().SetSavedCage(CageSize{3, 2, 1});
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("kept.cgs")).ok());
    doc_.SetCage({1, 1, 1});
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("kept.cgs")).ok());
    EXPECT_EQ(doc_.Cage().width, 2) << "saved with the document's cage of the moment";
    EXPECT_EQ(doc_.Cage().depth, 2);
    EXPECT_TRUE(Notices().back() & kViewOptionsChanged);
    doc_.SetCage({4, 1, 1});
    EXPECT_TRUE(doc_.HasUnsavedChanges()) << "its cage is part of what is saved";
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("kept.cgs")).ok());
    doc_.SetCage({1, 1, 1});
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("kept.cgs")).ok());
    EXPECT_EQ(doc_.Cage().width, 4);

    // Opening a file without one clears the scene's, and leaves the document's cage.
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("plain.cgs")).ok());
    EXPECT_FALSE(Scene().SavedCage());
    EXPECT_EQ(doc_.Cage().width, 4);
}

} // namespace
} // namespace zelvane
