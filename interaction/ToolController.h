#pragma once
// The view's mouse tools and the commands that act on the view's scene,
// camera and selection, without any window: the view turns each mouse and key
// event into an InputRecord and hands it here; everything a tool changes in
// the scene goes through the document's undo history as a command.
//
// Sections: construction and scene; mouse and keys; commands and their
// states; selection; tool fields.

#include "interaction/InputRecord.h"
#include "interaction/SelectedItem.h"
#include "interaction/Tool.h"
#include "interaction/ToolSpeeds.h"
#include "scene/ZoomPreset.h"

#include <array>
#include <cstdint>
#include <string>

namespace zelvane {

class COGLObject;
class COGLScene;
class COGLViewport3D;
class IToolHost;
class UndoHistory;

struct CommandState {
    bool enabled = false;
    bool checked = false;
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

class ToolController {
public:
    ToolController(COGLViewport3D& viewport, UndoHistory& history, IToolHost& host, float sensitivity = 1.0f);

    // The scene the tools act on (none before the view has made one). A new
    // scene starts with nothing selected; the tool and switches stay.
    void SetScene(COGLScene* scene);
    COGLScene* Scene() const { return scene_; }

    // --- Mouse and keys --------------------------------------------------
    // The Select tool picks; any other begins a drag.
    void LeftButtonDown(const InputRecord& input);
    // Any tool but Select picks.
    void LeftDoubleClick(const InputRecord& input);
    void RightButtonDown(const InputRecord& input);
    void ButtonUp(const InputRecord& input);
    // One drag step while a drag is on and a button is held.
    void MouseMove(const InputRecord& input);
    // Zooms the camera in steps, whatever the tool.
    void Wheel(const InputRecord& input);
    // Arrow keys make a one-step drag (10 pixels with Shift, the right button's
    // effect with Control); Shift and Control are only remembered.
    void KeyDown(const InputRecord& input);
    void KeyUp(const InputRecord& input);
    // Ends a drag that is on (button released, or the window lost the mouse).
    void EndDrag();
    // The window's new size; sizes below 1 are ignored.
    void Resize(int width, int height);

    // --- Commands ----------------------------------------------------------
    // Runs a command of the view by number; false when it is not one, or is
    // disabled now (as a disabled menu item or accelerator does nothing).
    bool Execute(int commandId);
    // Whether a command may run now and whether it shows checked. A mouse tool
    // found disabled while it is the current tool hands over to Select.
    CommandState State(int commandId);
    // Asks "Clear the Scene?"; on Yes clears the scene's objects and textures
    // (one undo step), restores every tool field and selects nothing.
    void ClearScene();
    // Clears without asking and forgets the history: a scene is being opened.
    void ClearForOpen();
    void Copy();
    void Delete();
    void Undo();
    void Redo();

    // --- Selection -----------------------------------------------------------
    // The one way to change the selection: an object also becomes the scene's
    // selected object, nothing clears it, a light leaves it as it is.
    void SelectItem(const SelectedItem& item);
    const SelectedItem& Selection() const { return selection_; }
    // Picks at a client point: the nearest object under it, or a light's
    // marker (the light is selected and its marker moves it), or nothing.
    void Pick(int x, int y);

    // --- Tool fields -------------------------------------------------------
    Tool CurrentTool() const { return tool_; }
    void SetTool(Tool tool);
    AxisSwitches Switches(Tool tool) const { return switches_[static_cast<std::size_t>(tool)]; }
    // Toggles the current tool's switch for `axis`; Rotate turns on one only.
    void ToggleAxis(Axis axis);
    // Every tool field back to where it starts: Select, the initial switches.
    void ResetTools();
    bool IsDragging() const { return dragging_; }
    bool Moved() const { return moved_; }
    float RotationTotal() const { return rotationTotal_; }
    const ToolSpeeds& Speeds() const { return speeds_; }
    ZoomPreset CurrentZoomPreset() const { return zoomPreset_; }
    void SetZoomPreset(ZoomPreset preset) { zoomPreset_ = preset; }
    bool FrameWhileMoving() const { return frameWhileMoving_; }
    bool HighlightSelected() const { return highlightSelected_; }
    const std::string& Readout() const { return readout_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }

private:
    struct Point {
        int x = 0;
        int y = 0;
    };

    void BeginDrag(int x, int y);
    void DragStep(const InputRecord& input);
    void ApplyTool(float dx, float dy, bool left, bool right);
    void ApplyToObject(COGLObject& object, float dx, float dy, bool left, bool right);
    void ApplyToCamera(float dx, float dy, bool left, bool right);
    void UpdateReadout();
    // The tool falls back to Select when it can no longer act.
    void CheckToolFallback();
    // Drops a selection whose object is no longer in the scene.
    void ValidateSelection();
    void Changed();

    COGLViewport3D& viewport_;
    UndoHistory& history_;
    IToolHost& host_;
    COGLScene* scene_ = nullptr;

    Point dragStart_;
    Point last_;
    bool dragging_ = false;
    bool moved_ = false;
    bool captured_ = false;
    bool frameWhileMoving_ = true;
    bool highlightSelected_ = false;
    Tool tool_ = Tool::Select;
    std::array<AxisSwitches, kToolCount> switches_{};
    SelectedItem selection_;
    bool controlHeld_ = false;
    bool shiftHeld_ = false;
    float rotationTotal_ = 0.0f;
    ToolSpeeds speeds_;
    ZoomPreset zoomPreset_ = ZoomPreset::Medium;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    std::string readout_;
    // Each drag gets its own number, so its steps merge into one undo step
    // and no two drags do.
    std::uint64_t dragNumber_ = 0;
};

} // namespace zelvane
