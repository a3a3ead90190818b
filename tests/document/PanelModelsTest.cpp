// The object and mesh panels' models: what they show, the changes they make
// to the view and the selected object, and the undo steps those changes are.

#include "document/MeshPanelModel.h"
#include "document/ObjectPanelModel.h"
#include "document/WorkingObjectFile.h"
#include "objects/PropertyEditorModel.h"
#include "scene/COGLScene.h"
#include "scene/COGLTexture2D.h"
#include "scene/ObjectFactory.h"
#include "scene/WindowsBitmap.h"
#include "tests/document/PanelTestDoubles.h"
#include "tests/document/SampleGameFixture.h"

#include <algorithm>

using namespace zelvane;
using namespace zelvane::test;

namespace {

class Panels : public SampleGameTest {
protected:
    Panels()
    {
        objectPanel_.SetEditSink([this](PanelEdit edit) { edits_.push_back(std::move(edit)); });
        meshPanel_.SetEditSink([this](PanelEdit edit) { edits_.push_back(std::move(edit)); });
        objectPanel_.SetChangedHandler([this] { ++changes_; });
        meshPanel_.SetChangedHandler([this] { ++changes_; });
        working_.AttachScene(&view_.scene);
    }

    std::string Bitmap(const std::string& name)
    {
        PlainImage image(4, 4, 3, 200);
        const std::string path = work_.File(name);
        WriteBytes(path, EncodeWindowsBitmap(image));
        return path;
    }

    test::TestPanelView view_;
    WorkingObjectFile working_{work_.File("zeltemp.iff")};
    ObjectPanelModel objectPanel_{view_, working_};
    MeshPanelModel meshPanel_{view_, &test::MeshSetOfTestMesh};
    std::vector<PanelEdit> edits_;
    int changes_ = 0;
};

} // namespace

TEST_F(Panels, TheObjectPanelShowsTheWorkingObjectAndItsEditsAfterTheEditorCloses)
{
    EXPECT_EQ(objectPanel_.Shown().name, "");
    EXPECT_EQ(objectPanel_.Shown().price, 0);
    EXPECT_EQ(objectPanel_.FileForProperties(), nullptr);
    ASSERT_EQ(reporter_.Messages().size(), 1u);
    EXPECT_EQ(reporter_.Messages()[0].text, "Please set the base object to clone attributes from first.");

    ASSERT_EQ(working_.CloneFrom(Object("Chair - Maple Dining"), catalog_), WorkingObjectFile::CloneOutcome::Replaced);
    EXPECT_EQ(objectPanel_.Shown().name, "Maple Dining Chair");
    EXPECT_EQ(objectPanel_.Shown().price, 120);
    CObjectFile* file = objectPanel_.FileForProperties();
    ASSERT_EQ(file, working_.File());

    // What the property editor saves, the panel shows once it closes.
    PropertyEditorModel editor(file->Container(), working_.CurrentObject()->DefinitionId());
    ASSERT_TRUE(editor.Open());
    editor.ToggleView();
    const std::vector<std::string> rows = editor.ListItems();
    editor.SelectRow(static_cast<int32_t>(std::find(rows.begin(), rows.end(), "Price") - rows.begin()));
    editor.ValueChanged(PropertyValue::FromText("135"));
    editor.SelectRow(static_cast<int32_t>(std::find(rows.begin(), rows.end(), "Name") - rows.begin()));
    editor.ValueChanged(PropertyValue::FromText("Maple Chair, Repaired"));
    ASSERT_EQ(editor.Ok(), kResOk);
    EXPECT_EQ(objectPanel_.Shown().price, 120) << "not read again yet";
    const int before = changes_;
    objectPanel_.Refresh();
    EXPECT_EQ(changes_, before + 1);
    EXPECT_EQ(objectPanel_.Shown().price, 135);
    EXPECT_EQ(objectPanel_.Shown().name, "Maple Chair, Repaired");
    EXPECT_EQ(objectPanel_.Shown().description.rfind("Sturdy maple", 0), 0u);

    EXPECT_TRUE(editor.SavedChanges());
    objectPanel_.NotePropertiesSaved();
    EXPECT_TRUE(working_.HasUnsavedEdits());
}

TEST_F(Panels, CageSidesAndZoomPresetsAreClampedRedrawnAndUndoable)
{
    objectPanel_.SetCageSide(CageSide::Height, 9);
    objectPanel_.SetCageSide(CageSide::Width, 15);
    objectPanel_.SetCageSide(CageSide::Depth, 0); // already 1: no change, no step
    EXPECT_EQ(view_.cage.height, 6);
    EXPECT_EQ(view_.cage.width, 15);
    EXPECT_EQ(view_.cage.depth, 1);
    EXPECT_EQ(view_.redraws, 2);
    ASSERT_EQ(edits_.size(), 2u);
    EXPECT_EQ(edits_[0].text, "Cage Height");
    EXPECT_EQ(edits_[1].text, "Cage Width");

    edits_[1].undo();
    edits_[0].undo();
    EXPECT_EQ(view_.cage.height, 1);
    EXPECT_EQ(view_.cage.width, 1);
    edits_[0].redo();
    EXPECT_EQ(objectPanel_.CageSideValue(CageSide::Height), 6);
    EXPECT_EQ(objectPanel_.CageSideValue(CageSide::Width), 1);
    EXPECT_EQ(edits_.size(), 2u) << "undo and redo make no new steps";

    objectPanel_.SetZoom(ZoomPreset::Far);
    EXPECT_EQ(view_.zoom, ZoomPreset::Far);
    objectPanel_.SetZoom(ZoomPreset::Near);
    EXPECT_EQ(objectPanel_.Zoom(), ZoomPreset::Near);
    objectPanel_.SetZoom(ZoomPreset::Near);
    ASSERT_EQ(edits_.size(), 4u);
    edits_[3].undo();
    EXPECT_EQ(view_.zoom, ZoomPreset::Far);
    edits_[2].undo();
    EXPECT_EQ(view_.zoom, ZoomPreset::Medium);
}

TEST_F(Panels, TheMeshPanelCountsTheSelectedMeshAndEachGroup)
{
    MeshFace faces[30] = {};
    MeshVertex vertices[37] = {};
    MeshPart parts[2] = {{"Seat", faces, 10, vertices, 7, nullptr, 0}, {nullptr, faces, 20, vertices, 30, nullptr, 0}};
    auto mesh = std::make_unique<test::TestMesh>();
    mesh->set.partCount = 2;
    mesh->set.parts = parts;
    COGLObject& added = view_.scene.AddObject(std::move(mesh));

    meshPanel_.SetPanelObject(&added);
    EXPECT_EQ(meshPanel_.MeshFaces(), 30);
    EXPECT_EQ(meshPanel_.MeshVertices(), 37);
    ASSERT_EQ(meshPanel_.Groups().size(), 2u);
    EXPECT_EQ(meshPanel_.Groups()[0].name, "Seat");
    EXPECT_EQ(meshPanel_.Groups()[1].name, "");
    EXPECT_EQ(meshPanel_.SelectedGroup(), 0);
    EXPECT_EQ(meshPanel_.GroupFaces(), 10);
    meshPanel_.SelectGroup(1);
    EXPECT_EQ(meshPanel_.GroupFaces(), 20);
    EXPECT_EQ(meshPanel_.GroupVertices(), 30);
    meshPanel_.SelectGroup(7);
    EXPECT_EQ(meshPanel_.SelectedGroup(), 0);

    // Any other object is edited too, with no groups; none shows nothing.
    COGLObject& box = view_.scene.AddObject(CreateObjectOfKind(ObjectKind::Box));
    meshPanel_.SetPanelObject(&box);
    EXPECT_EQ(meshPanel_.PanelObject(), &box);
    EXPECT_EQ(meshPanel_.MeshFaces(), 0);
    EXPECT_TRUE(meshPanel_.Groups().empty());
    EXPECT_EQ(meshPanel_.SelectedGroup(), -1);
    EXPECT_EQ(meshPanel_.GroupFaces(), 0);

    // A mesh deleted behind the panel's back is no longer shown or touched.
    meshPanel_.SetPanelObject(&added);
    ASSERT_TRUE(view_.scene.RemoveObject(&added));
    EXPECT_EQ(meshPanel_.PanelObject(), nullptr);
    EXPECT_EQ(meshPanel_.MeshFaces(), 0);
    EXPECT_TRUE(meshPanel_.Groups().empty());
    meshPanel_.SetUseTexture(false);
    EXPECT_TRUE(edits_.empty());
}

TEST_F(Panels, TexturesLoadAttachDetachAndUndo)
{
    COGLObject& box = view_.scene.AddObject(CreateObjectOfKind(ObjectKind::Box));
    meshPanel_.SetPanelObject(&box);

    EXPECT_FALSE(meshPanel_.LoadTexture(work_.File("missing.bmp")));
    EXPECT_TRUE(view_.scene.Textures().empty());
    EXPECT_EQ(reporter_.Messages().size(), 1u) << "the image loader says why";
    ASSERT_TRUE(meshPanel_.LoadTexture(Bitmap("Oak Planks.bmp")));
    ASSERT_TRUE(meshPanel_.LoadTexture(Bitmap("Slate.bmp")));
    ASSERT_EQ(meshPanel_.Textures().size(), 2u);
    EXPECT_EQ(meshPanel_.Textures()[0]->Title(), "Oak Planks");
    EXPECT_EQ(meshPanel_.SelectedTexture(), 1) << "the texture just loaded";

    meshPanel_.SelectTexture(0);
    meshPanel_.SetUseTexture(true);
    EXPECT_EQ(box.Texture(), view_.scene.Textures()[0].get());
    EXPECT_TRUE(meshPanel_.UsesTexture());
    box.SetTextureRotation({0, 0, 45});
    box.SetTextureScale({2, 2, 1});

    // Unchecking takes the texture off and resets its placement, even with no texture on.
    meshPanel_.SetUseTexture(false);
    EXPECT_EQ(box.Texture(), nullptr);
    EXPECT_EQ(box.TextureRotation(), (Vector3{0, 0, 0}));
    EXPECT_EQ(box.TextureScale(), (Vector3{1, 1, 1}));
    box.SetTextureOffset({0.5f, 0, 0});
    meshPanel_.SetUseTexture(false);
    EXPECT_EQ(box.TextureOffset(), (Vector3{0, 0, 0}));

    meshPanel_.SetEffectedByLighting(false);
    EXPECT_EQ(box.TextureEnvMode(), static_cast<GLenum>(GL_DECAL));
    EXPECT_FALSE(meshPanel_.EffectedByLighting());
    meshPanel_.SetEffectedByLighting(true);
    EXPECT_EQ(box.TextureEnvMode(), static_cast<GLenum>(GL_MODULATE));

    ASSERT_EQ(edits_.size(), 5u);
    EXPECT_EQ(edits_[0].text, "Use Texture");
    EXPECT_EQ(edits_[3].text, "Effected by Lighting");
    edits_[4].undo();
    edits_[3].undo();
    EXPECT_EQ(box.TextureEnvMode(), static_cast<GLenum>(GL_MODULATE));
    edits_[3].redo();
    EXPECT_EQ(box.TextureEnvMode(), static_cast<GLenum>(GL_DECAL));
    edits_[2].undo();
    EXPECT_EQ(box.TextureOffset(), (Vector3{0.5f, 0, 0}));
    edits_[1].undo();
    EXPECT_EQ(box.Texture(), view_.scene.Textures()[0].get());
    EXPECT_EQ(box.TextureRotation(), (Vector3{0, 0, 45}));
    EXPECT_EQ(box.TextureScale(), (Vector3{2, 2, 1}));

    // A texture deleted since is not put back; nothing is selected to attach.
    view_.scene.DeleteAllTextures();
    edits_[0].redo();
    edits_[0].undo();
    EXPECT_EQ(box.Texture(), nullptr);
    const size_t steps = edits_.size();
    meshPanel_.SetUseTexture(true);
    EXPECT_FALSE(meshPanel_.UsesTexture());
    EXPECT_EQ(edits_.size(), steps);
}
