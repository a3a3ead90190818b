// The view's commands: which may run and which show checked, the fall back to
// Select when the selection goes, the viewport's switches and camera presets,
// picking, and Copy, Delete and Clear the Scene with their undo and redo.

#include "interaction/CommandIds.h"
#include "scene/COGLLight.h"
#include "scene/COGLSphere.h"
#include "scene/COGLText.h"
#include "tests/interaction/ToolFixture.h"

namespace zelvane {
namespace {

using test::ToolFixture;
using Commands = ToolFixture;

TEST_F(Commands, ObjectToolsNeedTheirObjectAndFallBackToSelectWhenItGoes)
{
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select);
    for (const int id : {command::kMove, command::kRotate, command::kScale, command::kTextureMove})
        EXPECT_FALSE(tools_.State(id).enabled) << id;
    EXPECT_FALSE(tools_.Execute(command::kMove)) << "a disabled command does nothing";
    EXPECT_TRUE(tools_.State(command::kPan).enabled);
    EXPECT_EQ(tools_.State(command::kFieldOfView), CommandState{});
    EXPECT_FALSE(tools_.Execute(command::kFieldOfView));

    SelectBox();
    EXPECT_TRUE(tools_.Execute(command::kRotate));
    EXPECT_EQ(tools_.State(command::kRotate), (CommandState{true, true}));
    EXPECT_FALSE(tools_.State(command::kTextureRotate).enabled) << "the box has no texture";
    // Rotate's axis switches need the selection; Zoom's never run.
    EXPECT_TRUE(tools_.State(command::kEffectZ).enabled);

    doc_.Select({});
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select);
    EXPECT_EQ(tools_.State(command::kSelect), (CommandState{true, true}));

    tools_.Execute(command::kZoom);
    EXPECT_EQ(tools_.State(command::kEffectX), (CommandState{false, true}));
    tools_.Execute(command::kPan);
    tools_.Execute(command::kEffectY);
    EXPECT_EQ(tools_.State(command::kEffectY), (CommandState{true, false}));
    EXPECT_EQ(tools_.Switches(Tool::Pan), (AxisSwitches{true, false, true}));
}

TEST_F(Commands, TextureToolsActOnXAndYOnlyAndALightMarkerOnlyMoves)
{
    box_->SetTexture(scene_.FloorPlane()->Texture());
    SelectBox();
    tools_.Execute(command::kTextureScale);
    EXPECT_TRUE(tools_.State(command::kEffectY).enabled);
    EXPECT_FALSE(tools_.State(command::kEffectZ).enabled);

    COGLLight& light = *scene_.Lights().front();
    scene_.SetSelectedObject(light.Marker());
    doc_.Select({nullptr, &light});
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select) << "a marker has no texture";
    EXPECT_TRUE(tools_.State(command::kMove).enabled);
    EXPECT_FALSE(tools_.State(command::kRotate).enabled);
    EXPECT_FALSE(tools_.State(command::kScale).enabled);
    EXPECT_FALSE(tools_.State(command::kDelete).enabled) << "lights are not deleted";
    EXPECT_FALSE(tools_.State(command::kCopy).enabled) << "nor copied";
    EXPECT_FALSE(tools_.Execute(command::kDelete));
    EXPECT_EQ(scene_.Lights().size(), 3u);
}

TEST_F(Commands, ViewportSwitchesAndCameraPresetsShowTheirState)
{
    EXPECT_EQ(tools_.State(command::kGrid), (CommandState{true, true}));
    EXPECT_EQ(tools_.State(command::kCage), (CommandState{true, false}));
    EXPECT_EQ(tools_.State(command::kWireframe), (CommandState{true, true}));
    tools_.Execute(command::kCage);
    tools_.Execute(command::kShaded);
    EXPECT_EQ(viewport_.DisplayMode(), kDisplayShaded);
    EXPECT_EQ(tools_.State(command::kCage), (CommandState{false, true})) << "grid and cage only in wireframe";
    EXPECT_EQ(tools_.State(command::kGrid), (CommandState{false, true}));
    EXPECT_FALSE(tools_.Execute(command::kGrid));
    EXPECT_EQ(tools_.State(command::kAxis), (CommandState{true, true}));
    tools_.Execute(command::kAxis);
    EXPECT_FALSE(viewport_.Axis());

    EXPECT_TRUE(tools_.State(command::kCameraSimsButton).checked);
    tools_.Execute(command::kCameraTopButton);
    EXPECT_EQ(viewport_.Camera().Preset(), CameraPreset::Top);
    EXPECT_TRUE(tools_.State(command::kCameraTop).checked);
    EXPECT_FALSE(tools_.State(command::kCameraSims).checked);
    tools_.Execute(command::kCameraRight);
    EXPECT_TRUE(tools_.State(command::kCameraRightButton).checked);
}

TEST_F(Commands, PickingSelectsTheNearerObjectALightOrNothing)
{
    // A sphere in front of the box as the camera sees it.
    UseCamera(CameraPreset::Front);
    COGLObject& sphere = scene_.AddObject(std::make_unique<COGLSphere>());
    sphere.SetPosition(0.0f, 0.0f, 2.0f);
    const test::ScreenPoint middle = test::ToScreen(viewport_, {0.0f, 0.0f, 0.0f});
    tools_.LeftButtonDown(At(middle.x, middle.y, kLeftButton));
    tools_.ButtonUp(At(middle.x, middle.y));
    EXPECT_EQ(doc_.Selection().object, &sphere);
    EXPECT_EQ(scene_.SelectedObject(), &sphere);
    EXPECT_FALSE(tools_.IsDragging()) << "the Select tool picks instead of dragging";

    tools_.Execute(command::kMove);
    tools_.LeftDoubleClick(At(2, 2));
    EXPECT_TRUE(doc_.Selection().IsEmpty()) << "a double click picks with any tool";
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select);

    COGLLight& light = *scene_.Lights().back();
    const test::ScreenPoint marker = test::ToScreen(viewport_, light.Marker()->Position());
    tools_.LeftButtonDown(At(marker.x, marker.y, kLeftButton));
    EXPECT_EQ(doc_.Selection().light, &light);
    EXPECT_EQ(scene_.SelectedObject(), light.Marker());
    tools_.Execute(command::kMove);
    const Vector3 before = light.Marker()->Position();
    Drag({{100, 70}, {110, 70}});
    EXPECT_NEAR(light.Marker()->Position().x, before.x + 10 * Unit(), 1e-5f);
    EXPECT_EQ(tools_.Readout().rfind("X ", 0), 0u);
}

TEST_F(Commands, CopyAndDeleteAreStepsThatUndoAndRedo)
{
    SelectBox();
    box_->SetPosition(1.0f, 0.0f, 0.0f);
    tools_.Execute(command::kCopy);
    ASSERT_EQ(scene_.Objects().size(), 2u);
    COGLObject* copy = scene_.Objects().back().get();
    EXPECT_EQ(doc_.Selection().object, copy);
    EXPECT_EQ(copy->Name(), "Copy of " + box_->Name());
    EXPECT_EQ(copy->Position(), box_->Position());
    EXPECT_NE(copy->Id(), box_->Id());

    tools_.Execute(command::kMove);
    Drag({{100, 70}, {110, 70}});
    tools_.Execute(command::kDelete);
    EXPECT_EQ(scene_.Objects().size(), 1u);
    EXPECT_TRUE(doc_.Selection().IsEmpty());
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select);
    EXPECT_FALSE(tools_.State(command::kDelete).enabled);

    doc_.Undo(); // the delete
    ASSERT_EQ(scene_.Objects().size(), 2u);
    EXPECT_EQ(scene_.Objects().back().get(), copy) << "the very object comes back";
    doc_.Undo(); // the move of the copy
    EXPECT_EQ(copy->Position(), box_->Position());
    doc_.Select({copy, nullptr});
    doc_.Undo(); // the copy
    EXPECT_EQ(scene_.Objects().size(), 1u);
    EXPECT_TRUE(doc_.Selection().IsEmpty()) << "an object that left the scene is no longer selected";
    doc_.Redo();
    doc_.Redo();
    doc_.Redo();
    EXPECT_EQ(scene_.Objects().size(), 1u);
    EXPECT_FALSE(tools_.State(command::kRedo).enabled);
}

TEST_F(Commands, ACopiedTextHasTheSameLettersInListsOfItsOwn)
{
    auto made = std::make_unique<COGLText>();
    made->SetFont("Liberation Serif", 0.25f);
    made->ReplaceText("Sims");
    COGLText& text = static_cast<COGLText&>(scene_.AddObject(std::move(made)));
    doc_.Select({&text, nullptr});
    tools_.Execute(command::kCopy);
    ASSERT_EQ(scene_.Objects().size(), 3u);
    const auto* copy = dynamic_cast<const COGLText*>(scene_.Objects().back().get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Name(), "Copy of Text");
    EXPECT_EQ(copy->Text(), "Sims");
    EXPECT_EQ(copy->Font(), text.Font());
    EXPECT_EQ(copy->Extrusion(), 0.25f);
    EXPECT_EQ(copy->Metrics(), text.Metrics());
    EXPECT_NE(copy->SolidList(), text.SolidList());
    EXPECT_TRUE(glIsList(copy->SolidList() + 3)) << "one list a character";
}

TEST_F(Commands, ClearTheSceneAsksAndIsAStepThatBringsObjectsAndTexturesBack)
{
    scene_.AddTexture(std::make_unique<COGLTexture2D>());
    box_->SetTexture(scene_.FloorPlane()->Texture());
    SelectBox();
    tools_.Execute(command::kMove);
    tools_.Execute(command::kEffectX);

    reporter_.QueueAnswer(MessageAnswer::No);
    tools_.Execute(command::kClearScene);
    ASSERT_EQ(reporter_.Messages().size(), 1u);
    EXPECT_EQ(reporter_.Messages()[0].text, "Clear the Scene?");
    EXPECT_EQ(reporter_.Messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(scene_.Objects().size(), 1u) << "No changes nothing";
    EXPECT_EQ(tools_.CurrentTool(), Tool::Move);

    reporter_.QueueAnswer(MessageAnswer::Yes);
    tools_.Execute(command::kClearScene);
    EXPECT_TRUE(scene_.Objects().empty());
    EXPECT_TRUE(scene_.Textures().empty());
    EXPECT_EQ(scene_.Lights().size(), 3u);
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select);
    EXPECT_EQ(tools_.Switches(Tool::Move), (AxisSwitches{true, true, true})) << "tool fields start afresh";

    doc_.Undo();
    ASSERT_EQ(scene_.Objects().size(), 1u);
    EXPECT_EQ(scene_.Objects().front().get(), box_);
    EXPECT_EQ(box_->Texture(), scene_.FloorPlane()->Texture());
    EXPECT_EQ(scene_.Textures().size(), 1u);
    doc_.Redo();
    EXPECT_TRUE(scene_.Objects().empty());
}

TEST_F(Commands, AQueryChangesNothingAndTheToolFallsBackWhenTheSelectionGoes)
{
    SelectBox();
    tools_.Execute(command::kRotate);
    const int before = stateChanges_;
    // The document's selection goes behind the tools' back (a panel, an undo).
    doc_.Select({});
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select) << "the fall back happens when the selection changes";
    EXPECT_GT(stateChanges_, before) << "and the menus hear of it";
    const int after = stateChanges_;
    for (const int id : {command::kMove, command::kRotate, command::kCopy, command::kUndo})
        static_cast<void>(tools_.State(id));
    EXPECT_EQ(stateChanges_, after) << "asking changes nothing";
}

} // namespace
} // namespace zelvane
