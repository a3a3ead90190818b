#pragma once
// One change of the document that can undo and redo itself, as the history
// keeps it. Commands that act on the scene hold plain pointers to its objects:
// every change of the scene goes through the history, so when a command is
// undone or redone the scene is as it was right after or before it, and the
// history is emptied before the scene it points into goes away.

#include <string>

namespace zelvane {

class UndoCommand {
public:
    virtual ~UndoCommand() = default;
    UndoCommand(const UndoCommand&) = delete;
    UndoCommand& operator=(const UndoCommand&) = delete;

    virtual void Undo() = 0;
    virtual void Redo() = 0;
    // What the Edit menu names it by: "Undo " + Text().
    virtual std::string Text() const = 0;
    // Whether the change is one a saved scene keeps (its objects and
    // textures, the working object file beside it), and so leaves the scene
    // with unsaved changes; false for what the view alone shows.
    virtual bool ChangesSavedScene() const { return true; }

protected:
    UndoCommand() = default;
};

} // namespace zelvane
