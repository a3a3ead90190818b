#pragma once
// The view's mouse tools and the commands that act on the view and the
// document, without any window: the view turns each mouse and key event into
// an InputRecord and hands it here. A drag (mouse or arrow key) runs through
// one ToolDrag; what a tool changes in the scene goes through the document as
// one undo step. The selection is the document's; the tool, its switches and
// the camera are the view's and are announced through StateChanged.
//
// Sections: construction; mouse and keys; commands and their states;
// selection; tool fields; announcements.

#include "document/Signal.h"
#include "interaction/InputRecord.h"
#include "interaction/Tool.h"
#include "interaction/ToolDrag.h"
#include "interaction/ToolSpeeds.h"

#include <array>
#include <memory>
#include <string>

namespace zelvane {

class COGLDoc;
class COGLViewport3D;
class IToolHost;

struct CommandState {
    bool enabled = false;
    bool checked = false;
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

inline constexpr const char* kClearSceneQuestion = "Clear the Scene?";

class ToolController {
public:
    ToolController(COGLViewport3D& viewport, COGLDoc& document, IToolHost& host, float sensitivity = 1.0f);
    ~ToolController();
    ToolController(const ToolController&) = delete;
    ToolController& operator=(const ToolController&) = delete;

    // --- Mouse and keys --------------------------------------------------
    // The Select tool picks; any other begins a drag.
    void LeftButtonDown(const InputRecord& input);
    // Any tool but Select picks.
    void LeftDoubleClick(const InputRecord& input);
    void RightButtonDown(const InputRecord& input);
    void ButtonUp(const InputRecord& input);
    // One drag step while a drag is on and a button is held.
    void MouseMove(const InputRecord& input);
    // Zooms the camera by the same factor per notch (kWheelNotchZoom),
    // within the camera's bounds, whatever the tool.
    void Wheel(const InputRecord& input);
    // Arrow keys make a one-step drag (10 pixels with Shift, the right
    // button's effect with Control), through the same path as the mouse's;
    // Shift and Control are only remembered. (Control held during a mouse
    // drag snaps instead; arrow-key steps never snap.)
    void KeyDown(const InputRecord& input);
    void KeyUp(const InputRecord& input);
    // Ends a drag that is on (button released, or the window lost the mouse).
    void EndDrag();
    // Gives up a drag that is on: everything back as it began, no undo step.
    void CancelDrag();
    // The window's new size; sizes below 1 are ignored.
    void Resize(int width, int height);

    // --- Commands ----------------------------------------------------------
    // Runs a command of the view by number; false when it is not one, or is
    // disabled now (as a disabled menu item or accelerator does nothing).
    bool Execute(int commandId);
    // Whether a command may run now and whether it shows checked; changes
    // nothing.
    CommandState State(int commandId) const;
    // Asks "Clear the Scene?"; on Yes the document clears the scene (one undo
    // step) and every tool field goes back to where it starts.
    void ClearScene();

    // --- Selection -----------------------------------------------------------
    // Picks at a client point and selects, through the document: the nearest
    // object under it, or a light's marker (the light is selected and its
    // marker moves it), or nothing.
    void Pick(int x, int y);

    // --- Tool fields -------------------------------------------------------
    Tool CurrentTool() const { return tool_; }
    void SetTool(Tool tool);
    AxisSwitches Switches(Tool tool) const { return switches_[static_cast<std::size_t>(tool)]; }
    // Toggles the current tool's switch for `axis`; Rotate turns on one only.
    void ToggleAxis(Axis axis);
    // Every tool field back to where it starts: Select, the initial switches.
    void ResetTools();
    bool IsDragging() const { return drag_ != nullptr; }
    bool Moved() const { return moved_; }
    float RotationTotal() const { return rotationTotal_; }
    const ToolSpeeds& Speeds() const { return speeds_; }
    bool FrameWhileMoving() const { return frameWhileMoving_; }
    bool HighlightSelected() const { return highlightSelected_; }
    // The view shows the objects as a bake draws them (View ▸ Preview as Baked).
    bool PreviewAsBaked() const { return previewAsBaked_; }
    const std::string& Readout() const { return readout_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }

    // --- Announcements -------------------------------------------------------
    // The tool, a switch, the camera or the viewport's modes changed: the
    // menus' states and the tool's name follow.
    Signal<>& StateChanged() { return stateChanged_; }
    // The readout pane's new text.
    Signal<const std::string&>& ReadoutChanged() { return readoutChanged_; }

private:
    struct Point {
        int x = 0;
        int y = 0;
    };

    void BeginDrag(int x, int y);
    // Scene units per client pixel at the camera's distance.
    float UnitsPerPixel() const;
    void DragStepTo(const InputRecord& input);
    void UpdateReadout();
    // The tool falls back to Select when it can no longer act (the selection
    // went, or lost its texture).
    void CheckToolFallback();
    bool ToolEnabled(Tool tool) const;
    void Changed();

    COGLViewport3D& viewport_;
    COGLDoc& document_;
    IToolHost& host_;

    std::unique_ptr<ToolDrag> drag_;
    Point dragStart_;
    Point last_;
    bool moved_ = false;
    bool captured_ = false;
    bool frameWhileMoving_ = true;
    bool highlightSelected_ = false;
    bool previewAsBaked_ = false;
    Tool tool_ = Tool::Select;
    std::array<AxisSwitches, kToolCount> switches_{};
    bool controlHeld_ = false;
    bool shiftHeld_ = false;
    float rotationTotal_ = 0.0f;
    ToolSpeeds speeds_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    std::string readout_;
    Signal<> stateChanged_;
    Signal<const std::string&> readoutChanged_;
    Signal<unsigned>::Connection documentConnection_;
};

} // namespace zelvane
