#pragma once
// One change of the document that can undo and redo itself, as the history
// keeps it. Commands that act on the scene hold plain pointers to its objects:
// the history is emptied before the scene they point into goes away.

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
    // Folds `next`, pushed right after this one, into this command so that
    // both undo as one step; false leaves both as they are.
    virtual bool MergeWith(const UndoCommand& next)
    {
        (void)next;
        return false;
    }

protected:
    UndoCommand() = default;
};

} // namespace zelvane
