// The panels' models where their widgets cannot easily go: the limits of the
// cage, undo steps that outlive what they changed, and a mesh or texture that
// is gone by the time the panel acts. (The widgets' tests drive the rest.)

#include "document/MeshPanelModel.h"
#include "document/ObjectPanelModel.h"
#include "document/UndoHistory.h"
#include "document/WorkingObjectFile.h"
#include "scene/COGLMesh.h"
#include "scene/COGLTexture2D.h"
#include "scene/ObjectFactory.h"
#include "scene/WindowsBitmap.h"
#include "tests/document/PanelTestDoubles.h"
#include "tests/scene/TestMesh.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

namespace {

class Panels : public ::testing::Test {
protected:
    Panels()
    {
        SetReporter(&reporter_);
    }
    ~Panels() override { SetReporter(nullptr); }

    RecordingReporter reporter_;
    TempDir work_;
    TestPanelView view_;
    WorkingObjectFile working_{work_.File("zeltemp.iff")};
    UndoHistory history_;
    ObjectPanelModel objectPanel_{view_, working_, &history_};
    MeshPanelModel meshPanel_{view_, &history_};
};

} // namespace

TEST_F(Panels, CageSidesAreClampedAndOnlyRealChangesAreSteps)
{
    objectPanel_.SetCageSide(CageSide::Height, 9);
    objectPanel_.SetCageSide(CageSide::Depth, 0); // already 1
    objectPanel_.SetZoom(ZoomPreset::Medium);     // already medium
    EXPECT_EQ(view_.cage.height, 6);
    EXPECT_EQ(view_.cage.depth, 1);
    EXPECT_EQ(view_.redraws, 1);
    ASSERT_EQ(history_.Count(), 1u);
    EXPECT_EQ(history_.UndoText(), "Cage Height");
    history_.Undo();
    EXPECT_EQ(view_.cage.height, 1);
    history_.Redo();
    EXPECT_EQ(view_.cage.height, 6);
    EXPECT_EQ(history_.Count(), 1u) << "undo and redo make no new steps";

    // Without a working object there is nothing to edit, and the user is told so.
    EXPECT_EQ(objectPanel_.FileForProperties(), nullptr);
    ASSERT_EQ(reporter_.Messages().size(), 1u);
    EXPECT_EQ(reporter_.Messages()[0].text, "Please set the base object to clone attributes from first.");
}

TEST_F(Panels, AMeshDeletedBehindThePanelsBackIsNeitherShownNorTouched)
{
    TestMesh counted = CountedMesh({{"", 10, 7}, {"Legs", 20, 30}});
    COGLObject& added = view_.scene.AddObject(std::make_unique<COGLMesh>(counted.Set()));
    COGLMesh stranger(counted.Set());
    meshPanel_.SetPanelObject(&stranger);
    EXPECT_EQ(meshPanel_.PanelObject(), nullptr) << "not in the scene";
    meshPanel_.SetPanelObject(&added);
    EXPECT_EQ(meshPanel_.MeshFaces(), 30);
    EXPECT_EQ(meshPanel_.Groups()[0].name, "") << "a part without a name";
    meshPanel_.SelectGroup(7);
    EXPECT_EQ(meshPanel_.SelectedGroup(), 0) << "outside the list: the first group";

    meshPanel_.SetUseTexture(false); // placement already reset: no change, no step
    EXPECT_EQ(history_.Count(), 0u);
    added.SetTextureScale({2, 2, 1});
    meshPanel_.SetUseTexture(false);
    ASSERT_EQ(history_.Count(), 1u);
    ASSERT_TRUE(view_.scene.RemoveObject(&added));
    EXPECT_EQ(meshPanel_.PanelObject(), nullptr);
    EXPECT_EQ(meshPanel_.MeshFaces(), 0);
    EXPECT_TRUE(meshPanel_.Groups().empty());
    EXPECT_EQ(meshPanel_.GroupFaces(), 0);
    meshPanel_.SetUseTexture(true);
    meshPanel_.SetEffectedByLighting(false);
    history_.Undo(); // of an object that is gone: nothing happens
    EXPECT_EQ(history_.Count(), 1u);
}

TEST_F(Panels, TexturesThatDoNotLoadOrAreGoneAreNeverAttached)
{
    COGLObject& box = view_.scene.AddObject(CreateObjectOfKind(ObjectKind::Box));
    meshPanel_.SetPanelObject(&box);
    EXPECT_FALSE(meshPanel_.LoadTexture(work_.File("missing.bmp")));
    EXPECT_TRUE(view_.scene.Textures().empty());
    EXPECT_EQ(reporter_.Messages().size(), 1u) << "the image loader says why";
    meshPanel_.SetUseTexture(true); // nothing selected to attach
    EXPECT_EQ(history_.Count(), 0u);

    const std::string path = work_.File("Slate.bmp");
    WriteBytes(path, EncodeWindowsBitmap(PlainImage(4, 4, 3, 200)));
    ASSERT_TRUE(meshPanel_.LoadTexture(path));
    EXPECT_EQ(meshPanel_.SelectedTexture(), 0);
    meshPanel_.SetUseTexture(true);
    EXPECT_EQ(box.Texture(), view_.scene.Textures()[0].get());
    meshPanel_.SetUseTexture(false);
    ASSERT_EQ(history_.Count(), 2u);

    // Undoing the removal after the scene's textures went puts none back.
    view_.scene.DeleteAllTextures();
    EXPECT_EQ(meshPanel_.SelectedTexture(), -1);
    history_.Undo();
    EXPECT_EQ(box.Texture(), nullptr);
}
