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

constexpr CameraPreset kPresets[] = {CameraPreset::Sims, CameraPreset::Top, CameraPreset::Front,
                                     CameraPreset::Left, CameraPreset::Right};

bool LooksDown(CameraPreset preset)
{
    return preset == CameraPreset::Sims || preset == CameraPreset::Top;
}

TEST_F(MoveTool, TheLeftButtonFollowsThePointerInEveryPresetUpGoingAwayFromTheViewer)
{
    SelectBox();
    tools_.Execute(command::kMove);
    for (const CameraPreset preset : kPresets) {
        const std::string name = "preset " + std::to_string(static_cast<int>(preset));
        UseCamera(preset);
        box_->SetPosition(0, 0, 0);
        const Shown start = ShownAt(box_->Position());

        Drag({{100, 70}, {105, 70}, {112, 70}}); // 12 pixels right
        Shown now = ShownAt(box_->Position());
        EXPECT_NEAR(now.x - start.x, 12.0, 1e-3) << name;
        EXPECT_NEAR(now.y, start.y, 1e-3) << name;
        EXPECT_NEAR(box_->Position().y, 0.0f, 1e-6f) << name << ": left-right keeps it on the floor";

        const Vector3 across = box_->Position();
        Drag({{100, 70}, {100, 62}, {100, 55}}); // 15 pixels up
        now = ShownAt(box_->Position());
        EXPECT_NEAR(now.x - start.x, 12.0, 1e-3) << name;
        EXPECT_NEAR(start.y - now.y, 15.0, 1e-3) << name << ": up the screen as far as the pointer";
        if (LooksDown(preset)) {
            // Along the floor, away from the viewer.
            EXPECT_NEAR(box_->Position().y, 0.0f, 1e-6f) << name;
            if (preset == CameraPreset::Sims) {
                EXPECT_GT(now.depth, start.depth + 0.5) << name;
            }
        } else {
            // Up, in the plane of the screen.
            EXPECT_NEAR(box_->Position().x, across.x, 1e-6f) << name;
            EXPECT_NEAR(box_->Position().z, across.z, 1e-6f) << name;
            EXPECT_NEAR(box_->Position().y, 15.0f * Unit(), 1e-5f) << name;
        }
    }
    EXPECT_EQ(history_.Count(), 10u) << "each drag one step";
}

TEST_F(MoveTool, TheRightButtonLiftsOrMovesInAndOutAlongTheViewOnly)
{
    SelectBox();
    tools_.Execute(command::kMove);
    // From the game's view: up the screen and up the room, as far as the pointer.
    const Shown start = ShownAt(box_->Position());
    Drag({{100, 70}, {100, 60}}, kRightButton);
    EXPECT_NEAR(box_->Position().x, 0.0f, 1e-6f);
    EXPECT_NEAR(box_->Position().z, 0.0f, 1e-6f);
    EXPECT_GT(box_->Position().y, 0.0f);
    EXPECT_NEAR(start.y - ShownAt(box_->Position()).y, 10.0, 1e-3);

    // From the front: in and out along the view alone, never sideways.
    UseCamera(CameraPreset::Front);
    box_->SetPosition(0, 0, 0);
    Drag({{100, 70}, {100, 60}}, kRightButton);
    ExpectNear(box_->Position(), {0.0f, 0.0f, -10.0f * Unit()});
    // From the left, the view runs along x.
    UseCamera(CameraPreset::Left);
    box_->SetPosition(0, 0, 0);
    Drag({{100, 70}, {100, 80}}, kRightButton);
    EXPECT_NEAR(box_->Position().y, 0.0f, 1e-6f);
    EXPECT_NEAR(box_->Position().z, 0.0f, 1e-6f);
    EXPECT_NEAR(std::fabs(box_->Position().x), 10.0f * Unit(), 1e-5f);
}

TEST_F(MoveTool, TheSwitchesChooseTheAxesAndTheLargerMovementWins)
{
    UseCamera(CameraPreset::Top);
    SelectBox();
    tools_.Execute(command::kMove);
    const float u = Unit();
    // From the top the screen's right is +x and its up is -z.
    Drag({{100, 70}, {105, 65}});
    ExpectNear(box_->Position(), {5 * u, 0.0f, -5 * u});
    box_->SetPosition(0, 0, 0);
    Drag({{100, 70}, {106, 65}});
    ExpectNear(box_->Position(), {6 * u, 0.0f, 0.0f});
    box_->SetPosition(0, 0, 0);
    Drag({{100, 70}, {100, 45}});
    ExpectNear(box_->Position(), {0.0f, 0.0f, -10 * u}); // 25 pixels up count as the limit of 10
    EXPECT_EQ(tools_.Readout(), [&] {
        char text[64];
        std::snprintf(text, sizeof text, "X 0.000, Y 0.000, Z %3.3f", static_cast<double>(-10 * u));
        return std::string(text);
    }());

    box_->SetPosition(0, 0, 0);
    tools_.Execute(command::kEffectZ); // in-out off: up and down the screen do nothing here
    Drag({{100, 70}, {105, 75}});
    ExpectNear(box_->Position(), {5 * u, 0.0f, 0.0f});
    EXPECT_EQ(tools_.Switches(Tool::Move), (AxisSwitches{true, true, false}));
    tools_.Execute(command::kEffectX);
    Drag({{100, 70}, {110, 70}});
    ExpectNear(box_->Position(), {5 * u, 0.0f, 0.0f});
}

TEST_F(MoveTool, ControlSnapsWhatTheDragMovesToSixteenthsOfATile)
{
    SelectBox();
    box_->SetPosition(0.01f, 0.3f, -0.02f);
    tools_.Execute(command::kMove);
    InputRecord step = At(100, 70, kLeftButton);
    tools_.LeftButtonDown(step);
    step.control = true;
    for (int x = 103; x <= 130; x += 3) {
        step.x = x;
        tools_.MouseMove(step);
        const Vector3& p = box_->Position();
        EXPECT_FLOAT_EQ(std::round(p.x * 16.0f), p.x * 16.0f);
        EXPECT_FLOAT_EQ(std::round(p.z * 16.0f), p.z * 16.0f);
        EXPECT_FLOAT_EQ(p.y, 0.3f) << "the height is not moved, so not snapped";
    }
    // Without Control it goes on from where the hand is, unsnapped.
    step.control = false;
    step.x = 131;
    tools_.MouseMove(step);
    EXPECT_NE(std::round(box_->Position().x * 16.0f), box_->Position().x * 16.0f);
    tools_.ButtonUp(At(0, 0));
    EXPECT_EQ(history_.Count(), 1u);
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
    EXPECT_NEAR(box_->Position().x, (10 + 8 + 3) * Unit(), 1e-5f);
    EXPECT_FALSE(tools_.IsDragging());
}

TEST_F(MoveTool, AWholeDragIsOneUndoStepAndEachArrowKeyPressIsOne)
{
    UseCamera(CameraPreset::Front);
    SelectBox();
    tools_.Execute(command::kMove);
    const float u = Unit();
    Drag({{100, 70}, {104, 70}, {108, 70}, {112, 70}});
    ASSERT_EQ(history_.Count(), 1u);
    EXPECT_EQ(history_.UndoText(), "Move");

    tools_.KeyDown(Key(Key::Right));
    tools_.KeyDown(Key(Key::Right, true));
    tools_.KeyDown(Key(Key::Up, false, true)); // Control: the right button's effect, away from the viewer
    EXPECT_EQ(history_.Count(), 4u);
    ExpectNear(box_->Position(), {(12 + 1 + 10) * u, 0.0f, -u});

    doc_.Undo();
    ExpectNear(box_->Position(), {23 * u, 0.0f, 0.0f});
    doc_.Undo();
    doc_.Undo();
    ExpectNear(box_->Position(), {12 * u, 0.0f, 0.0f});
    doc_.Undo();
    ExpectNear(box_->Position(), {0.0f, 0.0f, 0.0f});
    doc_.Redo();
    ExpectNear(box_->Position(), {12 * u, 0.0f, 0.0f});

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
    ExpectNear(box_->Position(), {10 * Unit(), 0.0f, 0.0f});
    tools_.CancelDrag();
    ExpectNear(box_->Position(), {0.0f, 0.0f, 0.0f});
    EXPECT_FALSE(tools_.IsDragging());
    EXPECT_EQ(history_.Count(), 0u);
    EXPECT_EQ(host_.events, (std::vector<std::string>{"capture", "release"}));
    tools_.ButtonUp(At(0, 0)); // the button's release after the cancel changes nothing
    EXPECT_EQ(history_.Count(), 0u);
}

using ObjectTools = ToolFixture;

void ExpectSameTurn(const Quaternion& actual, const Quaternion& expected)
{
    // q and -q are the same turn.
    const float sign = actual.w * expected.w + actual.x * expected.x + actual.y * expected.y + actual.z * expected.z < 0
                           ? -1.0f
                           : 1.0f;
    EXPECT_NEAR(actual.x, sign * expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, sign * expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, sign * expected.z, 1e-4f);
    EXPECT_NEAR(actual.w, sign * expected.w, 1e-4f);
}

TEST_F(ObjectTools, RotateTurnsAboutTheScenesVerticalUnlessXOrZIsChosen)
{
    SelectBox();
    // Lying on its side: its own y axis is no longer the room's.
    box_->RotateX(90.0f);
    const Quaternion lying = box_->Orientation();
    tools_.Execute(command::kRotate);
    EXPECT_EQ(tools_.Switches(Tool::Rotate), (AxisSwitches{false, true, false})) << "vertical by default";
    StepAlongX(8, 5);
    EXPECT_FLOAT_EQ(tools_.RotationTotal(), 40.0f);
    EXPECT_EQ(tools_.Readout(), "Angle  40");
    ExpectSameTurn(box_->Orientation(), lying.TurnedAboutSceneAxis({0, 1, 0}, 40.0f));
    // Turning about the vertical keeps what was up, up: the box's own z.
    const Vector3 up = box_->Orientation().ToMatrix().TransformDirection({0, 0, 1});
    EXPECT_NEAR(std::fabs(up.y), 1.0f, 1e-4f);
    tools_.ButtonUp(At(0, 0));
    EXPECT_FLOAT_EQ(tools_.RotationTotal(), 0.0f) << "the total lives for one drag";

    // The x switch turns about x the other way; z about z.
    box_->SetOrientation({});
    tools_.Execute(command::kEffectX);
    EXPECT_EQ(tools_.Switches(Tool::Rotate), (AxisSwitches{true, false, false})) << "one rotation axis at a time";
    StepAlongX(10, 3);
    tools_.ButtonUp(At(0, 0));
    ExpectSameTurn(box_->Orientation(), Quaternion::FromAxisAngle({1, 0, 0}, -30.0f));
    box_->SetOrientation({});
    tools_.Execute(command::kEffectZ);
    StepAlongX(10, 2);
    tools_.ButtonUp(At(0, 0));
    ExpectSameTurn(box_->Orientation(), Quaternion::FromAxisAngle({0, 0, 1}, 20.0f));
}

TEST_F(ObjectTools, ControlTurnsInStepsOf15Degrees)
{
    SelectBox();
    tools_.Execute(command::kRotate);
    InputRecord step = At(100, 70, kLeftButton);
    tools_.LeftButtonDown(step);
    step.control = true;
    const float expected[] = {0, 15, 15, 30, 30, 45, 45}; // 7, 14, 21, ... degrees to the nearest 15
    for (const float angle : expected) {
        step.x += 7;
        tools_.MouseMove(step);
        EXPECT_FLOAT_EQ(tools_.RotationTotal(), angle) << step.x;
        ExpectSameTurn(box_->Orientation(), Quaternion::FromAxisAngle({0, 1, 0}, angle));
    }
    tools_.ButtonUp(At(0, 0));
    EXPECT_EQ(history_.Count(), 1u);
}

TEST_F(ObjectTools, RotationStepsAddUpAndTheTotalWrapsPast359EitherWay)
{
    SelectBox();
    tools_.Execute(command::kRotate);
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
    EXPECT_EQ(history_.Count(), 2u) << "each drag one step";
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

TEST_F(CameraTools, PanMovesTheSceneWithThePointerInEveryPreset)
{
    COGLCamera3D& camera = viewport_.Camera();
    tools_.Execute(command::kPan);
    for (const CameraPreset preset : {CameraPreset::Sims, CameraPreset::Top, CameraPreset::Front}) {
        UseCamera(preset);
        const Shown start = ShownAt({});
        Drag({{100, 70}, {110, 70}});
        Drag({{100, 70}, {100, 62}});
        stage_.Frame(viewport_, scene_);
        const Shown now = ShownAt({});
        EXPECT_NEAR(now.x - start.x, 10.0, 1e-3);
        EXPECT_NEAR(start.y - now.y, 8.0, 1e-3);
    }
    // From the front: right 10, up 8, and with the right button in 5.
    const float u = Unit();
    ExpectNear(camera.GetCenter(), {10 * u, -1.5f + 8 * u, 0.0f});
    Drag({{100, 70}, {100, 75}}, kRightButton);
    ExpectNear(camera.GetCenter(), {10 * u, -1.5f + 8 * u, -5 * u});
    char text[64];
    std::snprintf(text, sizeof text, "X %3.3f, Y %3.3f, Z %3.3f", static_cast<double>(10 * u),
                  static_cast<double>(-1.5f + 8 * u), static_cast<double>(-5 * u));
    EXPECT_EQ(tools_.Readout(), text);
    EXPECT_EQ(camera.Preset(), CameraPreset::Front) << "panning keeps the preset's angles";
}

TEST_F(CameraTools, OrbitAndZoomMoveTheCameraAndShowItsValues)
{
    UseCamera(CameraPreset::Front);
    COGLCamera3D& camera = viewport_.Camera();

    tools_.Execute(command::kOrbit);
    Drag({{100, 70}, {110, 70}});
    EXPECT_FLOAT_EQ(camera.Azimuth(), 358.0f);
    EXPECT_EQ(tools_.Readout(), "A 358.000, E 0.000, T 0.000");
    EXPECT_EQ(camera.Preset(), CameraPreset::Sims) << "orbiting leaves the preset";

    tools_.Execute(command::kZoom);
    EXPECT_EQ(doc_.Zoom(), ZoomPreset::Free);
    const float distance = camera.Distance();
    Drag({{100, 70}, {110, 70}}, kRightButton);
    EXPECT_NEAR(camera.Distance(), distance * std::pow(kZoomPerPixel, -10.0f), 1e-4f) << "right is nearer";
    camera.SetDistance(0.55f);
    Drag({{100, 70}, {110, 70}, {120, 70}});
    EXPECT_EQ(camera.Distance(), COGLCamera3D::kNearestDistance) << "never nearer than the bound";
    EXPECT_EQ(tools_.Readout(), "Zoom 1600.000");
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

TEST_F(CameraTools, TheWheelZoomsByTheSameFactorPerNotchWithinBoundsWhateverTheTool)
{
    COGLCamera3D& camera = viewport_.Camera();
    const float distance = camera.Distance();
    InputRecord wheel = At(100, 70);
    wheel.wheelNotches = 1.0;
    tools_.Wheel(wheel);
    EXPECT_EQ(tools_.CurrentTool(), Tool::Select);
    EXPECT_EQ(doc_.Zoom(), ZoomPreset::Free);
    EXPECT_NEAR(camera.Distance(), distance / kWheelNotchZoom, 1e-5f);
    wheel.wheelNotches = -2.0;
    tools_.Wheel(wheel);
    EXPECT_NEAR(camera.Distance(), distance * kWheelNotchZoom, 1e-5f);
    wheel.wheelNotches = 0.5; // a fine-grained wheel's part of a notch
    tools_.Wheel(wheel);
    EXPECT_NEAR(camera.Distance(), distance * kWheelNotchZoom / std::sqrt(kWheelNotchZoom), 1e-4f);
    EXPECT_EQ(readouts_.back().rfind("Zoom ", 0), 0u);

    // Far in and far out the zoom stops at its bounds, and every frame draws
    // without an OpenGL error.
    for (const double notch : {1.0, -1.0}) {
        wheel.wheelNotches = notch;
        for (int turn = 0; turn < 40; ++turn) {
            tools_.Wheel(wheel);
            stage_.Frame(viewport_, scene_);
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        }
        EXPECT_EQ(camera.Distance(),
                  notch > 0 ? COGLCamera3D::kNearestDistance : COGLCamera3D::kFarthestDistance);
    }
}

} // namespace
} // namespace zelvane
