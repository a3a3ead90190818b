// The mouse tools' arithmetic: the dominant-axis rule and the step limit,
// each object tool with its axis switches, the camera tools with their
// readouts, the wheel, the pointer kept inside the window, arrow keys, and
// every drag or key step as one undo step.

#include "document/ObjectPlacement.h"
#include "interaction/StatusReadout.h"
#include "tests/interaction/ToolFixture.h"

#include <cmath>

namespace zelvane {
namespace {

using test::ToolFixture;

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

using MoveTool = ToolFixture;

TEST_F(MoveTool, DiagonalStepsKeepBothAxesAndTheLargerMovementWinsOtherwise)
{
    SelectBox();
    tools_.Execute(command::kMove);
    const COGLCamera3D& camera = viewport_.Camera();
    const Vector3 right = camera.DvRight();
    const float faceY = camera.DvFace().y;

    Drag({{100, 70}, {105, 75}});
    // In-out takes dy on x and z as it is and along the viewing axis for y.
    ExpectNear(box_->Position(), Vector3{0.05f, 0.05f * faceY, 0.05f} + right * 0.05f);

    box_->SetPosition(0, 0, 0);
    Drag({{100, 70}, {106, 75}});
    ExpectNear(box_->Position(), right * 0.06f);

    box_->SetPosition(0, 0, 0);
    Drag({{100, 70}, {100, 95}});
    EXPECT_NEAR(box_->Position().x, 0.10f, 1e-6f) << "25 pixels down count as the limit of 10";
    EXPECT_EQ(tools_.Readout(), "X 0.100, Y " + [&] {
        char text[32];
        std::snprintf(text, sizeof text, "%3.3f", box_->Position().y);
        return std::string(text);
    }() + ", Z 0.100");
}

TEST_F(MoveTool, FromTheFrontTheRightButtonMovesUpAndTheSwitchesChooseTheAxes)
{
    UseCamera(CameraPreset::Front);
    SelectBox();
    tools_.Execute(command::kMove);
    Drag({{100, 70}, {100, 60}}, kRightButton);
    ExpectNear(box_->Position(), {0.0f, 0.1f, 0.0f});

    box_->SetPosition(0, 0, 0);
    tools_.Execute(command::kEffectZ); // in-out off: only left-right remains
    Drag({{100, 70}, {105, 75}});
    ExpectNear(box_->Position(), {0.05f, 0.0f, 0.0f});
    EXPECT_EQ(tools_.Switches(Tool::Move), (AxisSwitches{true, true, false}));
}

TEST_F(MoveTool, AStepOutOfTheWindowPutsThePointerBackAndGoesOnFromTheStart)
{
    UseCamera(CameraPreset::Front);
    SelectBox();
    tools_.Execute(command::kMove);
    tools_.LeftButtonDown(At(100, 70, kLeftButton));
    tools_.MouseMove(At(196, 70, kLeftButton)); // step limited to 10
    tools_.MouseMove(At(204, 70, kLeftButton)); // beyond the right edge
    tools_.MouseMove(At(103, 70, kLeftButton)); // measured from the start again
    tools_.ButtonUp(At(0, 0));
    EXPECT_EQ(host_.events, (std::vector<std::string>{"capture", "return", "release"}));
    EXPECT_NEAR(box_->Position().x, 0.10f + 0.08f + 0.03f, 1e-5f);
    EXPECT_FALSE(tools_.IsDragging());
}

TEST_F(MoveTool, AWholeDragIsOneUndoStepAndEachArrowKeyPressIsOne)
{
    UseCamera(CameraPreset::Front);
    SelectBox();
    tools_.Execute(command::kMove);
    Drag({{100, 70}, {104, 70}, {108, 70}, {112, 70}});
    ASSERT_EQ(history_.Count(), 1u);
    EXPECT_EQ(history_.UndoText(), "Move");

    tools_.KeyDown(Key(Key::Right));
    tools_.KeyDown(Key(Key::Right, true));
    tools_.KeyDown(Key(Key::Up, false, true)); // Control: the right button's effect, up
    EXPECT_EQ(history_.Count(), 4u);
    ExpectNear(box_->Position(), {0.12f + 0.01f + 0.10f, 0.01f, 0.0f});

    doc_.Undo();
    ExpectNear(box_->Position(), {0.23f, 0.0f, 0.0f});
    doc_.Undo();
    doc_.Undo();
    ExpectNear(box_->Position(), {0.12f, 0.0f, 0.0f});
    doc_.Undo();
    ExpectNear(box_->Position(), {0.0f, 0.0f, 0.0f});
    doc_.Redo();
    ExpectNear(box_->Position(), {0.12f, 0.0f, 0.0f});

    // With the Select tool arrow keys change nothing.
    tools_.Execute(command::kSelect);
    tools_.KeyDown(Key(Key::Left));
    EXPECT_EQ(history_.DoneCount(), 1u);
}

TEST_F(MoveTool, ACancelledDragPutsTheObjectBackWithoutAStep)
{
    UseCamera(CameraPreset::Front);
    SelectBox();
    tools_.Execute(command::kMove);
    tools_.LeftButtonDown(At(100, 70, kLeftButton));
    tools_.MouseMove(At(110, 70, kLeftButton));
    ExpectNear(box_->Position(), {0.1f, 0.0f, 0.0f});
    tools_.CancelDrag();
    ExpectNear(box_->Position(), {0.0f, 0.0f, 0.0f});
    EXPECT_FALSE(tools_.IsDragging());
    EXPECT_EQ(history_.Count(), 0u);
    EXPECT_EQ(host_.events, (std::vector<std::string>{"capture", "release"}));
    tools_.ButtonUp(At(0, 0)); // the button's release after the cancel changes nothing
    EXPECT_EQ(history_.Count(), 0u);
}

using ObjectTools = ToolFixture;

TEST_F(ObjectTools, RotationStepsAddUpAndTheTotalWrapsPast359EitherWay)
{
    SelectBox();
    tools_.Execute(command::kRotate);
    StepAlongX(8, 5);
    EXPECT_FLOAT_EQ(tools_.RotationTotal(), 40.0f);
    EXPECT_EQ(tools_.Readout(), "Angle  40");
    // The x switch turns about x the other way.
    const Quaternion expected = Quaternion::FromAxisAngle({1, 0, 0}, 320.0f);
    EXPECT_NEAR(box_->Orientation().x * expected.w, expected.x * box_->Orientation().w, 1e-4f);
    EXPECT_NEAR(std::fabs(box_->Orientation().w), std::fabs(expected.w), 1e-4f);
    tools_.ButtonUp(At(0, 0));
    EXPECT_FLOAT_EQ(tools_.RotationTotal(), 0.0f) << "the total lives for one drag";

    tools_.Execute(command::kEffectY);
    EXPECT_EQ(tools_.Switches(Tool::Rotate), (AxisSwitches{false, true, false})) << "one rotation axis at a time";
    StepAlongX(30, 35); // each step limited to 10 degrees
    EXPECT_FLOAT_EQ(tools_.RotationTotal(), 350.0f);
    StepAlongX(30, 1, false);
    EXPECT_FLOAT_EQ(tools_.RotationTotal(), 0.0f) << "360 is above 359";
    tools_.ButtonUp(At(0, 0));

    StepAlongX(-10, 36);
    EXPECT_FLOAT_EQ(tools_.RotationTotal(), 0.0f) << "-360 is below -359";
    StepAlongX(-10, 1, false);
    EXPECT_FLOAT_EQ(tools_.RotationTotal(), -10.0f);
    tools_.ButtonUp(At(0, 0));
    EXPECT_EQ(history_.Count(), 3u) << "each drag one step";
}

TEST_F(ObjectTools, ScaleMultipliesTheSwitchedAxesByTheStepOverTheWidth)
{
    SelectBox();
    tools_.Execute(command::kScale);
    Drag({{100, 70}, {110, 70}});
    ExpectNear(box_->Scale(), {1.05f, 1.05f, 1.05f});
    tools_.Execute(command::kEffectX);
    Drag({{100, 70}, {90, 70}});
    ExpectNear(box_->Scale(), {1.05f, 1.05f * 0.95f, 1.05f * 0.95f});
    EXPECT_EQ(tools_.Readout(), "X 1.050, Y 0.997, Z 0.997");
    doc_.Undo();
    ExpectNear(box_->Scale(), {1.05f, 1.05f, 1.05f});
}

TEST_F(ObjectTools, TextureToolsMoveScaleAndTurnTheTextureAtTheirSpeeds)
{
    box_->SetTexture(scene_.FloorPlane()->Texture());
    ASSERT_NE(box_->Texture(), nullptr);
    SelectBox();

    tools_.Execute(command::kTextureMove);
    Drag({{100, 70}, {105, 75}});
    ExpectNear(box_->TextureOffset(), {-0.005f, 0.005f, 0.0f});
    EXPECT_EQ(tools_.Readout(), "X -0.005, Y 0.005");

    tools_.Execute(command::kTextureScale);
    Drag({{100, 70}, {120, 70}}); // limited to 10 pixels
    ExpectNear(box_->TextureScale(), {1.05f, 1.05f, 1.0f});

    tools_.Execute(command::kTextureRotate);
    Drag({{100, 70}, {90, 70}});
    EXPECT_FLOAT_EQ(box_->TextureRotation().z, 350.0f);
    Drag({{100, 70}, {110, 70}, {120, 70}});
    EXPECT_FLOAT_EQ(box_->TextureRotation().z, 10.0f) << "360 wraps to 0";
    EXPECT_EQ(tools_.Readout(), "10.000");
    EXPECT_EQ(history_.Count(), 4u);
}

using CameraTools = ToolFixture;

TEST_F(CameraTools, PanOrbitAndZoomMoveTheCameraAndShowItsValues)
{
    UseCamera(CameraPreset::Front);
    COGLCamera3D& camera = viewport_.Camera();
    tools_.Execute(command::kPan);
    Drag({{100, 70}, {110, 70}});
    ExpectNear(camera.GetCenter(), {0.08f, -1.5f, 0.0f});
    Drag({{100, 70}, {100, 80}}, kRightButton);
    ExpectNear(camera.GetCenter(), {0.08f, -1.58f, 0.0f});
    EXPECT_EQ(tools_.Readout(), "X 0.080, Y -1.580, Z 0.000");

    tools_.Execute(command::kOrbit);
    Drag({{100, 70}, {110, 70}});
    EXPECT_FLOAT_EQ(camera.Azimuth(), 358.0f);
    EXPECT_EQ(tools_.Readout(), "A 358.000, E 0.000, T 0.000");
    EXPECT_EQ(camera.Preset(), CameraPreset::Sims) << "orbiting leaves the preset";

    tools_.Execute(command::kZoom);
    EXPECT_EQ(doc_.Zoom(), ZoomPreset::Free);
    const float distance = camera.Distance();
    Drag({{100, 70}, {110, 70}}, kRightButton);
    EXPECT_NEAR(camera.Distance(), distance - 0.08f, 1e-5f);
    camera.SetDistance(0.01f);
    Drag({{100, 70}, {110, 70}});
    EXPECT_EQ(camera.Distance(), 0.0f) << "never below 0";
    EXPECT_EQ(tools_.Readout(), "Zoom 10000.000");
    EXPECT_EQ(history_.Count(), 0u) << "the camera is not part of the scene's history";
}

TEST_F(CameraTools, ArrowKeysTakeTheDragsPathAndACancelPutsTheCameraBack)
{
    COGLCamera3D& camera = viewport_.Camera();
    tools_.Execute(command::kCameraFrontButton);
    tools_.Execute(command::kOrbit);
    EXPECT_TRUE(tools_.State(command::kCameraFrontButton).checked);
    const float start = camera.Azimuth();
    const int before = stateChanges_;
    tools_.KeyDown(Key(Key::Left));
    EXPECT_NEAR(camera.Azimuth(), start + 0.2f, 1e-4f);
    EXPECT_FALSE(tools_.State(command::kCameraFrontButton).checked) << "the key's orbit left the preset";
    EXPECT_GT(stateChanges_, before) << "and the toolbar heard of it";

    const float azimuth = camera.Azimuth();
    tools_.LeftButtonDown(At(100, 70, kLeftButton));
    tools_.MouseMove(At(110, 70, kLeftButton));
    EXPECT_NE(camera.Azimuth(), azimuth);
    tools_.CancelDrag();
    EXPECT_FLOAT_EQ(camera.Azimuth(), azimuth);
}

TEST_F(CameraTools, TheWheelZoomsInStepsWhateverTheTool)
{
    COGLCamera3D& camera = viewport_.Camera();
    const float distance = camera.Distance();
    InputRecord wheel = At(100, 70);
    wheel.wheelNotches = 1.0;
    tools_.Wheel(wheel);
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select);
    EXPECT_EQ(doc_.Zoom(), ZoomPreset::Free);
    EXPECT_NEAR(camera.Distance(), distance - 0.32f, 1e-5f);
    wheel.wheelNotches = -2.0;
    tools_.Wheel(wheel);
    EXPECT_NEAR(camera.Distance(), distance + 0.32f, 1e-5f);
    EXPECT_EQ(readouts_.back().rfind("Zoom ", 0), 0u);
}

} // namespace
} // namespace zelvane
