#include "interaction/ToolController.h"

#include "document/COGLDoc.h"
#include "interaction/CommandIds.h"
#include "interaction/IToolHost.h"
#include "interaction/StatusReadout.h"
#include "report/Reporter.h"
#include "scene/COGLLight.h"
#include "scene/COGLObject.h"
#include "scene/COGLViewport3D.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

namespace {

bool IsLightMarker(const COGLObject& object)
{
    return (object.Flags() & COGLObject::kLightMarkerFlag) != 0;
}

std::optional<CameraPreset> CameraPresetOfCommand(int commandId)
{
    switch (commandId) {
    case command::kCameraSims:
    case command::kCameraSimsButton: return CameraPreset::Sims;
    case command::kCameraTop:
    case command::kCameraTopButton: return CameraPreset::Top;
    case command::kCameraFront:
    case command::kCameraFrontButton: return CameraPreset::Front;
    case command::kCameraLeft:
    case command::kCameraLeftButton: return CameraPreset::Left;
    case command::kCameraRight:
    case command::kCameraRightButton: return CameraPreset::Right;
    default: return std::nullopt;
    }
}

std::optional<Axis> AxisOfCommand(int commandId)
{
    switch (commandId) {
    case command::kEffectX: return Axis::X;
    case command::kEffectY: return Axis::Y;
    case command::kEffectZ: return Axis::Z;
    default: return std::nullopt;
    }
}

} // namespace

// --- Construction --------------------------------------------------------------

ToolController::ToolController(COGLViewport3D& viewport, COGLDoc& document, IToolHost& host, float sensitivity)
    : viewport_(viewport), document_(document), host_(host), speeds_(ToolSpeeds::FromSensitivity(sensitivity)),
      readout_(kEmptyReadout)
{
    ResetTools();
    documentConnection_ = document_.Changed().Connect([this](DocumentChanges changes) {
        if (changes & (kSelectionChanged | kSceneChanged))
            CheckToolFallback();
    });
}

ToolController::~ToolController()
{
    // A drag left open gives its change up rather than record it half-way.
    drag_.reset();
    if (captured_)
        host_.ReleasePointer();
}

// --- Mouse and keys -----------------------------------------------------------

void ToolController::LeftButtonDown(const InputRecord& input)
{
    if (tool_ == Tool::Select)
        Pick(input.x, input.y);
    else
        BeginDrag(input.x, input.y);
}

void ToolController::LeftDoubleClick(const InputRecord& input)
{
    if (tool_ != Tool::Select)
        Pick(input.x, input.y);
}

void ToolController::RightButtonDown(const InputRecord& input)
{
    BeginDrag(input.x, input.y);
}

void ToolController::ButtonUp(const InputRecord&)
{
    EndDrag();
}

void ToolController::BeginDrag(int x, int y)
{
    // A second button during a drag goes on with the same drag.
    if (!drag_) {
        DragSetup setup{tool_, Switches(tool_), speeds_, clientWidth_, UnitsPerPixel()};
        drag_ = BeginToolDrag(setup, document_, document_.SelectionTarget(), viewport_);
        if (!drag_)
            return;
        moved_ = false;
        rotationTotal_ = 0.0f;
    }
    dragStart_ = last_ = {x, y};
    if (!captured_) {
        host_.CapturePointer();
        captured_ = true;
    }
}

void ToolController::EndDrag()
{
    if (captured_) {
        host_.ReleasePointer();
        captured_ = false;
    }
    if (std::unique_ptr<ToolDrag> drag = std::move(drag_)) {
        drag->End();
        host_.Repaint();
        // A camera that moved has left its preset.
        if (moved_)
            Changed();
    }
    rotationTotal_ = 0.0f;
}

void ToolController::CancelDrag()
{
    if (captured_) {
        host_.ReleasePointer();
        captured_ = false;
    }
    if (std::unique_ptr<ToolDrag> drag = std::move(drag_)) {
        drag->Cancel();
        host_.Repaint();
        Changed();
    }
    rotationTotal_ = 0.0f;
    moved_ = false;
    UpdateReadout();
}

void ToolController::MouseMove(const InputRecord& input)
{
    if (!drag_ || !(input.buttons & (kLeftButton | kRightButton)))
        return;
    DragStepTo(input);
}

void ToolController::DragStepTo(const InputRecord& input)
{
    float dx = static_cast<float>(input.x - last_.x);
    float dy = static_cast<float>(input.y - last_.y);
    // The larger movement wins; a diagonal keeps both.
    if (std::fabs(dx) > std::fabs(dy))
        dy = 0.0f;
    else if (std::fabs(dy) > std::fabs(dx))
        dx = 0.0f;
    dx = std::clamp(dx, -speeds_.maxStep, speeds_.maxStep);
    dy = std::clamp(dy, -speeds_.maxStep, speeds_.maxStep);

    last_ = {input.x, input.y};
    // Out of the window the hidden pointer goes back to where the drag began,
    // so a drag can go on without limit.
    if (input.x > clientWidth_ || input.x < 1 || input.y > clientHeight_ || input.y < 1) {
        host_.ReturnPointer();
        last_ = dragStart_;
    }
    moved_ = true;
    // Ctrl held with the mouse snaps (with the arrow keys it means the right button).
    const bool snap = input.control && input.key == Key::None;
    drag_->Step({dx, dy, (input.buttons & kLeftButton) != 0, (input.buttons & kRightButton) != 0, snap});
    rotationTotal_ = drag_->RotationTotal();
    UpdateReadout();
    host_.Repaint();
}

void ToolController::Wheel(const InputRecord& input)
{
    if (input.wheelNotches == 0.0)
        return;
    // The distance the presets set would undo the zoom at the next frame.
    document_.ReleaseZoomPreset();
    // The same factor for every notch, forward nearer.
    viewport_.Camera().ZoomBy(
        static_cast<float>(std::pow(static_cast<double>(kWheelNotchZoom), -input.wheelNotches)));
    readout_ = StatusReadout(Tool::Zoom, document_.Selection(), document_.SelectionTarget(), viewport_,
                             rotationTotal_);
    readoutChanged_.Emit(readout_);
    host_.Repaint();
    Changed();
}

void ToolController::KeyDown(const InputRecord& input)
{
    controlHeld_ = input.control;
    shiftHeld_ = input.shift;
    if (input.key == Key::Control)
        controlHeld_ = true;
    if (input.key == Key::Shift)
        shiftHeld_ = true;
    if (tool_ == Tool::Select || drag_)
        return;
    const int step = shiftHeld_ ? 10 : 1;
    Point to = last_;
    switch (input.key) {
    case Key::Left: to.x -= step; break;
    case Key::Right: to.x += step; break;
    case Key::Up: to.y -= step; break;
    case Key::Down: to.y += step; break;
    default: return;
    }
    // One whole drag of one step: begun, stepped and ended as the mouse's.
    BeginDrag(last_.x, last_.y);
    if (!drag_)
        return;
    InputRecord stepInput = input;
    stepInput.x = to.x;
    stepInput.y = to.y;
    stepInput.buttons = controlHeld_ ? kRightButton : kLeftButton;
    DragStepTo(stepInput);
    EndDrag();
}

void ToolController::KeyUp(const InputRecord& input)
{
    if (input.key == Key::Control)
        controlHeld_ = false;
    if (input.key == Key::Shift)
        shiftHeld_ = false;
}

float ToolController::UnitsPerPixel() const
{
    if (clientHeight_ < 1 || viewport_.Width() < 1 || viewport_.Height() < 1)
        return speeds_.move;
    const OrthoVolume volume =
        OrthoVolume::Of(viewport_.Width(), viewport_.Height(), viewport_.Camera().Distance(), false);
    return static_cast<float>((volume.top - volume.bottom) / clientHeight_);
}

void ToolController::Resize(int width, int height)
{
    if (width < 1 || height < 1)
        return;
    clientWidth_ = width;
    clientHeight_ = height;
}

// --- Commands -----------------------------------------------------------------

bool ToolController::Execute(int commandId)
{
    if (!State(commandId).enabled)
        return false;
    if (const std::optional<Tool> tool = ToolOfCommand(commandId)) {
        SetTool(*tool);
        return true;
    }
    if (const std::optional<Axis> axis = AxisOfCommand(commandId)) {
        ToggleAxis(*axis);
        return true;
    }
    if (const std::optional<CameraPreset> preset = CameraPresetOfCommand(commandId)) {
        viewport_.Camera().SetPreset(*preset);
        host_.Repaint();
        Changed();
        return true;
    }
    switch (commandId) {
    case command::kGrid: viewport_.SetGrid(!viewport_.Grid()); break;
    case command::kAxis: viewport_.SetAxis(!viewport_.Axis()); break;
    case command::kCage: viewport_.SetCage(!viewport_.Cage()); break;
    case command::kWireframe: viewport_.SetDisplayMode(kDisplayWireframe); break;
    case command::kShaded: viewport_.SetDisplayMode(kDisplayShaded); break;
    case command::kToggleMoveFast: frameWhileMoving_ = !frameWhileMoving_; break;
    case command::kHighlightSelected: highlightSelected_ = !highlightSelected_; break;
    case command::kPreviewAsBaked: previewAsBaked_ = !previewAsBaked_; break;
    case command::kClearScene: ClearScene(); return true;
    case command::kCopy:
        EndDrag();
        return document_.CopySelection();
    case command::kDelete:
        EndDrag();
        return document_.DeleteSelection();
    case command::kUndo:
        EndDrag();
        document_.Undo();
        return true;
    case command::kRedo:
        EndDrag();
        document_.Redo();
        return true;
    default: return false;
    }
    host_.Repaint();
    Changed();
    return true;
}

bool ToolController::ToolEnabled(Tool tool) const
{
    const COGLObject* target = document_.SelectionTarget();
    switch (tool) {
    case Tool::Move: return target != nullptr;
    // A spot light may turn; no other light's marker may.
    case Tool::Rotate:
    case Tool::Scale: return target && !IsLightMarker(*target);
    case Tool::TextureMove:
    case Tool::TextureScale:
    case Tool::TextureRotate: return target && target->Texture();
    case Tool::FieldOfView: return false;
    default: return true;
    }
}

CommandState ToolController::State(int commandId) const
{
    if (const std::optional<Tool> tool = ToolOfCommand(commandId)) {
        if (*tool == Tool::FieldOfView)
            return {};
        return {ToolEnabled(*tool), tool_ == *tool};
    }
    if (const std::optional<Axis> axis = AxisOfCommand(commandId)) {
        bool enabled = false;
        switch (tool_) {
        case Tool::Move:
        case Tool::Scale:
        case Tool::Pan:
        case Tool::Orbit: enabled = true; break;
        case Tool::Rotate: enabled = document_.SelectionTarget() != nullptr; break;
        case Tool::TextureMove:
        case Tool::TextureScale: enabled = *axis != Axis::Z; break;
        default: break;
        }
        return {enabled, Switches(tool_)[static_cast<std::size_t>(*axis)]};
    }
    if (const std::optional<CameraPreset> preset = CameraPresetOfCommand(commandId))
        return {true, viewport_.Camera().Preset() == *preset};
    const bool scene = document_.Scene() != nullptr;
    switch (commandId) {
    case command::kGrid: return {viewport_.IsWireframe(), viewport_.Grid()};
    case command::kCage: return {viewport_.IsWireframe(), viewport_.Cage()};
    case command::kAxis: return {true, viewport_.Axis()};
    case command::kWireframe: return {true, viewport_.DisplayMode() == kDisplayWireframe};
    case command::kShaded: return {true, viewport_.DisplayMode() == kDisplayShaded};
    case command::kToggleMoveFast: return {true, frameWhileMoving_};
    case command::kHighlightSelected: return {true, highlightSelected_};
    case command::kPreviewAsBaked: return {scene, previewAsBaked_};
    case command::kClearScene: return {scene, false};
    case command::kCopy: return {document_.CanCopySelection(), false};
    case command::kDelete: return {scene && document_.Selection().object != nullptr, false};
    case command::kUndo: return {document_.CanUndo(), false};
    case command::kRedo: return {document_.CanRedo(), false};
    default: return {};
    }
}

void ToolController::ClearScene()
{
    if (!document_.Scene())
        return;
    if (CurrentReporter().ShowMessage(kClearSceneQuestion, MessageIcon::Question, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    EndDrag();
    document_.ClearScene();
    ResetTools();
    Changed();
}

// --- Selection ------------------------------------------------------------------

void ToolController::Pick(int x, int y)
{
    if (!document_.Scene())
        return;
    const PickResult hit = host_.Pick(x, y);
    SelectedItem item;
    if (hit.object)
        item.object = hit.object;
    else if (hit.light && hit.light->Marker())
        item.light = hit.light; // the marker stands for its light: selected, it moves the light
    document_.Select(item);
    host_.Repaint();
}

// --- Tool fields ------------------------------------------------------------------

void ToolController::SetTool(Tool tool)
{
    EndDrag();
    tool_ = ToolEnabled(tool) ? tool : Tool::Select;
    if (tool_ == Tool::Zoom)
        document_.ReleaseZoomPreset();
    UpdateReadout();
    Changed();
}

void ToolController::ToggleAxis(Axis axis)
{
    AxisSwitches& switches = switches_[static_cast<std::size_t>(tool_)];
    const auto index = static_cast<std::size_t>(axis);
    if (tool_ == Tool::Rotate) {
        switches = {false, false, false};
        switches[index] = true;
    } else {
        switches[index] = !switches[index];
    }
    Changed();
}

void ToolController::ResetTools()
{
    EndDrag();
    tool_ = Tool::Select;
    for (int i = 0; i < kToolCount; ++i)
        switches_[static_cast<std::size_t>(i)] = InitialSwitches(static_cast<Tool>(i));
    frameWhileMoving_ = true;
    highlightSelected_ = false;
    moved_ = false;
    controlHeld_ = shiftHeld_ = false;
    dragStart_ = last_ = {};
}

void ToolController::CheckToolFallback()
{
    if (NeedsSelectedObject(tool_) && !ToolEnabled(tool_)) {
        CancelDrag();
        tool_ = Tool::Select;
        UpdateReadout();
        Changed();
    }
}

void ToolController::UpdateReadout()
{
    readout_ = StatusReadout(tool_, document_.Selection(), document_.SelectionTarget(), viewport_, rotationTotal_);
    readoutChanged_.Emit(readout_);
}

void ToolController::Changed()
{
    stateChanged_.Emit();
}

} // namespace zelvane
