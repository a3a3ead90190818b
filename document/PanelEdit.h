#pragma once
// One change a panel made, as a step of the document's undo history: each
// panel command is one call that makes the change and hands its step to the
// history (the edit sink). Undo and redo put the panel's subject back into the
// state before or after the change and refresh the panel; neither hands on a
// new step.

#include <functional>
#include <string>

namespace zelvane {

struct PanelEdit {
    std::string text; // what the step did, for the Edit menu ("Cage Height")
    std::function<void()> undo;
    std::function<void()> redo;
};

// Receives each step a panel makes; unset, the changes are simply made.
using PanelEditSink = std::function<void(PanelEdit)>;

} // namespace zelvane
