#include "interaction/ToolController.h"

#include "document/AddObjectCommand.h"
#include "document/ClearSceneCommand.h"
#include "document/PlaceObjectCommand.h"
#include "document/RemoveObjectCommand.h"
#include "document/UndoHistory.h"
#include "interaction/CommandIds.h"
#include "interaction/IToolHost.h"
#include "interaction/StatusReadout.h"
#include "report/Reporter.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLLight.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/COGLText.h"
#include "scene/COGLViewport3D.h"
#include "scene/ObjectFactory.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

namespace {

constexpr float kLargestRotationStep = 10.0f;
// One wheel notch zooms as far as a drag of this many pixels with the Zoom tool.
constexpr float kWheelNotchPixels = 40.0f;

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

// --- Construction and scene -------------------------------------------------

ToolController::ToolController(COGLViewport3D& viewport, UndoHistory& history, IToolHost& host, float sensitivity)
    : viewport_(viewport), history_(history), host_(host), speeds_(ToolSpeeds::FromSensitivity(sensitivity)),
      readout_(kEmptyReadout)
{
    ResetTools();
}

void ToolController::SetScene(COGLScene* scene)
{
    EndDrag();
    scene_ = scene;
    selection_ = {};
    CheckToolFallback();
    Changed();
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
    dragStart_ = last_ = {x, y};
    dragging_ = true;
    moved_ = false;
    rotationTotal_ = 0.0f;
    ++dragNumber_;
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
    if (dragging_) {
        dragging_ = false;
        host_.Repaint();
        // A camera that moved has left its preset.
        if (moved_)
            Changed();
    }
    rotationTotal_ = 0.0f;
}

void ToolController::MouseMove(const InputRecord& input)
{
    if (!dragging_ || !(input.buttons & (kLeftButton | kRightButton)))
        return;
    DragStep(input);
}

void ToolController::DragStep(const InputRecord& input)
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
    ApplyTool(dx, dy, (input.buttons & kLeftButton) != 0, (input.buttons & kRightButton) != 0);
    UpdateReadout();
    host_.Repaint();
}

void ToolController::ApplyTool(float dx, float dy, bool left, bool right)
{
    if (NeedsSelectedObject(tool_)) {
        COGLObject* object = scene_ ? scene_->SelectedObject() : nullptr;
        if (!object)
            return;
        const ObjectPlacement before = ObjectPlacement::Of(*object);
        ApplyToObject(*object, dx, dy, left, right);
        const ObjectPlacement after = ObjectPlacement::Of(*object);
        if (after != before)
            history_.Record(std::make_unique<PlaceObjectCommand>(std::string(ToolName(tool_)), *object, before,
                                                                 after, dragNumber_));
        return;
    }
    ApplyToCamera(dx, dy, left, right);
}

void ToolController::ApplyToObject(COGLObject& object, float dx, float dy, bool left, bool right)
{
    const auto [sx, sy, sz] = Switches(tool_);
    const COGLCamera3D& camera = viewport_.Camera();
    switch (tool_) {
    case Tool::Move: {
        dx *= speeds_.move;
        dy *= speeds_.move;
        Vector3 p = object.Position();
        if (sy && right) {
            p = p - camera.DvUp() * dy;
        } else {
            // In and out moves x and z by the step as it is and only y along
            // the viewing axis, as the camera's own in-out move does.
            if (sz && left) {
                p.x += dy;
                p.y += dy * camera.DvFace().y;
                p.z += dy;
            }
            if (sx && left)
                p += camera.DvRight() * dx;
        }
        object.SetPosition(p.x, p.y, p.z);
        break;
    }
    case Tool::Rotate: {
        if (!left)
            return;
        const float r = std::clamp(dx, -kLargestRotationStep, kLargestRotationStep);
        rotationTotal_ += r;
        if (rotationTotal_ > 359.0f)
            rotationTotal_ -= 360.0f;
        if (rotationTotal_ < -359.0f)
            rotationTotal_ += 360.0f;
        if (sx)
            object.RotateX(-r);
        else if (sy)
            object.RotateY(r);
        else if (sz)
            object.RotateZ(r);
        break;
    }
    case Tool::Scale: {
        if (!left || clientWidth_ < 1)
            return;
        const float f = dx / static_cast<float>(clientWidth_) + 1.0f;
        const Vector3 old = object.GetScale();
        if (sx)
            object.SetScaleX(f * old.x);
        if (sy)
            object.SetScaleY(f * old.y);
        if (sz)
            object.SetScaleZ(f * old.z);
        break;
    }
    case Tool::TextureMove: {
        if (!left)
            return;
        Vector3 offset = object.TextureOffset();
        if (sy)
            offset.y += dy * speeds_.texture;
        if (sx)
            offset.x -= dx * speeds_.texture;
        object.SetTextureOffset(offset);
        break;
    }
    case Tool::TextureScale: {
        if (!left || clientWidth_ < 1)
            return;
        const float f = dx / static_cast<float>(clientWidth_) + 1.0f;
        Vector3 scale = object.TextureScale();
        if (sx)
            scale.x *= f;
        if (sy)
            scale.y *= f;
        object.SetTextureScale(scale);
        break;
    }
    case Tool::TextureRotate: {
        if (!left)
            return;
        Vector3 rotation = object.TextureRotation();
        rotation.z += dx;
        while (rotation.z > 359.0f)
            rotation.z -= 360.0f;
        while (rotation.z < 0.0f)
            rotation.z += 360.0f;
        object.SetTextureRotation(rotation);
        break;
    }
    default:
        break;
    }
}

void ToolController::ApplyToCamera(float dx, float dy, bool left, bool right)
{
    const auto [sx, sy, sz] = Switches(tool_);
    COGLCamera3D& camera = viewport_.Camera();
    switch (tool_) {
    case Tool::Pan:
        if (sy && right) {
            camera.MoveAlongUp(-dy * speeds_.pan);
        } else {
            if (sz && left)
                camera.MoveInOut(dy * speeds_.pan);
            if (sx && left)
                camera.MoveAlongRight(dx * speeds_.pan);
        }
        break;
    case Tool::Orbit:
        if (sx && left)
            camera.Orbit(-dx * speeds_.orbit);
        break;
    case Tool::Zoom:
        camera.Zoom(-dx * speeds_.zoom);
        break;
    default:
        break;
    }
}

void ToolController::Wheel(const InputRecord& input)
{
    if (input.wheelNotches == 0.0)
        return;
    // The distance the presets set would undo the zoom at the next frame.
    zoomPreset_ = ZoomPreset::Free;
    viewport_.Camera().Zoom(static_cast<float>(-input.wheelNotches) * kWheelNotchPixels * speeds_.zoom);
    readout_ = StatusReadout(Tool::Zoom, scene_, selection_, viewport_, rotationTotal_);
    host_.ShowReadout(readout_);
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
    if (tool_ == Tool::Select)
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
    BeginDrag(last_.x, last_.y);
    InputRecord stepInput = input;
    stepInput.x = to.x;
    stepInput.y = to.y;
    stepInput.buttons = controlHeld_ ? kRightButton : kLeftButton;
    DragStep(stepInput);
    dragging_ = false;
    EndDrag();
}

void ToolController::KeyUp(const InputRecord& input)
{
    if (input.key == Key::Control)
        controlHeld_ = false;
    if (input.key == Key::Shift)
        shiftHeld_ = false;
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
    case command::kClearScene: ClearScene(); return true;
    case command::kCopy: Copy(); return true;
    case command::kDelete: Delete(); return true;
    case command::kUndo: Undo(); return true;
    case command::kRedo: Redo(); return true;
    default: return false;
    }
    host_.Repaint();
    Changed();
    return true;
}

CommandState ToolController::State(int commandId)
{
    const COGLObject* selected = scene_ ? scene_->SelectedObject() : nullptr;
    if (const std::optional<Tool> tool = ToolOfCommand(commandId)) {
        bool enabled = true;
        switch (*tool) {
        case Tool::Move: enabled = selected != nullptr; break;
        // A spot light may turn; no other light's marker may.
        case Tool::Rotate:
        case Tool::Scale: enabled = selected && !IsLightMarker(*selected); break;
        case Tool::TextureMove:
        case Tool::TextureScale:
        case Tool::TextureRotate: enabled = selected && selected->Texture(); break;
        case Tool::FieldOfView: return {};
        default: break;
        }
        if (!enabled && tool_ == *tool) {
            tool_ = Tool::Select;
            host_.StateChanged();
        }
        return {enabled, tool_ == *tool};
    }
    if (const std::optional<Axis> axis = AxisOfCommand(commandId)) {
        bool enabled = false;
        switch (tool_) {
        case Tool::Move:
        case Tool::Scale:
        case Tool::Pan:
        case Tool::Orbit: enabled = true; break;
        case Tool::Rotate: enabled = selected != nullptr; break;
        case Tool::TextureMove:
        case Tool::TextureScale: enabled = *axis != Axis::Z; break;
        default: break;
        }
        return {enabled, Switches(tool_)[static_cast<std::size_t>(*axis)]};
    }
    if (const std::optional<CameraPreset> preset = CameraPresetOfCommand(commandId))
        return {true, viewport_.Camera().Preset() == *preset};
    switch (commandId) {
    case command::kGrid: return {viewport_.IsWireframe(), viewport_.Grid()};
    case command::kCage: return {viewport_.IsWireframe(), viewport_.Cage()};
    case command::kAxis: return {true, viewport_.Axis()};
    case command::kWireframe: return {true, viewport_.DisplayMode() == kDisplayWireframe};
    case command::kShaded: return {true, viewport_.DisplayMode() == kDisplayShaded};
    case command::kToggleMoveFast: return {true, frameWhileMoving_};
    case command::kHighlightSelected: return {true, highlightSelected_};
    case command::kClearScene: return {scene_ != nullptr, false};
    case command::kCopy:
    case command::kDelete: return {scene_ && !selection_.IsEmpty(), false};
    case command::kUndo: return {history_.CanUndo(), false};
    case command::kRedo: return {history_.CanRedo(), false};
    default: return {};
    }
}

void ToolController::ClearScene()
{
    if (!scene_)
        return;
    if (CurrentReporter().ShowMessage("Clear the Scene?", MessageIcon::Question, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    EndDrag();
    history_.Push(std::make_unique<ClearSceneCommand>(*scene_));
    ResetTools();
    SelectItem({});
    host_.ShowObjectInfo(nullptr);
}

void ToolController::ClearForOpen()
{
    EndDrag();
    history_.Clear();
    if (scene_)
        scene_->ClearScene();
    ResetTools();
    SelectItem({});
    host_.ShowObjectInfo(nullptr);
}

void ToolController::Copy()
{
    if (!scene_ || !selection_.object)
        return;
    const COGLObject& source = *selection_.object;
    IGLContext& context = ActiveGLContext();
    // A new object builds its kind's display lists on first use.
    context.BeginGL();
    std::unique_ptr<COGLObject> copy = CreateObjectOfKind(source.Kind());
    // A text builds its letters anew from the source's text and font.
    auto* text = dynamic_cast<COGLText*>(copy.get());
    if (const auto* sourceText = dynamic_cast<const COGLText*>(&source); text && sourceText)
        text->CopyText(*sourceText);
    context.EndGL();
    // A mesh is made from its imported data and is not copied: the factory
    // makes none, and Copy leaves the scene as it was.
    if (!copy)
        return;
    if (!text)
        copy->CopyFrom(source);
    const auto* sourcePlane = dynamic_cast<const COGLPlane*>(&source);
    if (auto* plane = dynamic_cast<COGLPlane*>(copy.get()); plane && sourcePlane)
        plane->SetTessellated(sourcePlane->IsTessellated());
    // The copy is pickable wherever the original was.
    copy->SetPickable(source.IsPickable());
    COGLObject& added = *copy;
    history_.Push(std::make_unique<AddObjectCommand>("Copy", *scene_, std::move(copy)));
    SelectItem({&added, nullptr});
    host_.ShowObjectInfo(&added);
}

void ToolController::Delete()
{
    if (!scene_ || !selection_.object || !scene_->Contains(selection_.object))
        return;
    history_.Push(std::make_unique<RemoveObjectCommand>("Delete", *scene_, *selection_.object));
    SelectItem({});
    host_.ShowObjectInfo(nullptr);
}

void ToolController::Undo()
{
    EndDrag();
    history_.Undo();
    ValidateSelection();
    host_.Repaint();
    Changed();
}

void ToolController::Redo()
{
    EndDrag();
    history_.Redo();
    ValidateSelection();
    host_.Repaint();
    Changed();
}

// --- Selection ------------------------------------------------------------------

void ToolController::SelectItem(const SelectedItem& item)
{
    selection_ = item;
    if (scene_) {
        if (item.IsEmpty())
            scene_->SetSelectedObject(nullptr);
        else if (item.object)
            scene_->SetSelectedObject(item.object);
    }
    host_.Repaint();
    CheckToolFallback();
    Changed();
}

void ToolController::Pick(int x, int y)
{
    if (!scene_)
        return;
    const PickResult hit = host_.Pick(x, y);
    SelectedItem item;
    if (hit.object) {
        item.object = hit.object;
    } else if (hit.light && hit.light->Marker()) {
        // The marker stands for its light: selected, it moves the light.
        item.light = hit.light;
        scene_->SetSelectedObject(hit.light->Marker());
    }
    host_.ShowObjectInfo(scene_->SelectedObject());
    SelectItem(item);
}

void ToolController::ValidateSelection()
{
    if (scene_ && selection_.object && !scene_->Contains(selection_.object))
        SelectItem({});
    else
        CheckToolFallback();
}

// --- Tool fields ------------------------------------------------------------------

void ToolController::SetTool(Tool tool)
{
    tool_ = tool;
    if (tool == Tool::Zoom)
        zoomPreset_ = ZoomPreset::Free;
    CheckToolFallback();
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
    if (NeedsSelectedObject(tool_))
        State(ToolCommand(tool_));
}

void ToolController::UpdateReadout()
{
    readout_ = StatusReadout(tool_, scene_, selection_, viewport_, rotationTotal_);
    host_.ShowReadout(readout_);
}

void ToolController::Changed()
{
    host_.StateChanged();
}

} // namespace zelvane
