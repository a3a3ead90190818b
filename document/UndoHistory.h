#pragma once
// The document's undo history: a list of commands and how many of them are
// done. Pushing drops what was undone after the current step.

#include "document/UndoCommand.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace zelvane {

class UndoHistory {
public:
    // Steps kept; the oldest ones go first.
    static constexpr std::size_t kDefaultLimit = 1000;

    explicit UndoHistory(std::size_t limit = kDefaultLimit);

    // Redoes `command` (that is, does it) and records it.
    void Push(std::unique_ptr<UndoCommand> command);
    // Records a command whose change has already been made.
    void Record(std::unique_ptr<UndoCommand> command);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < commands_.size(); }
    // The step Undo and Redo would take; empty when there is none.
    std::string UndoText() const;
    std::string RedoText() const;
    // Nothing happens when there is no step to take.
    void Undo();
    void Redo();

    // Forgets every step (a new or opened scene); the commands are deleted,
    // newest first. The scene as it is then counts as saved.
    void Clear();

    // The scene as it is now was saved.
    void MarkSaved();
    // Whether the scene differs from its last save or opening by a change a
    // saved scene keeps (UndoCommand::ChangesSavedScene): such a step done or
    // undone since, or the saved state out of reach (undone and then replaced
    // by another change, or dropped off the history).
    bool HasUnsavedChanges() const;
    std::size_t Count() const { return commands_.size(); }
    std::size_t DoneCount() const { return done_; }

private:
    std::deque<std::unique_ptr<UndoCommand>> commands_;
    std::size_t done_ = 0;
    // How many steps were done when the scene was saved; none when that
    // state can no longer be reached by undo or redo.
    std::optional<std::size_t> savedAt_ = 0;
    std::size_t limit_;
};

} // namespace zelvane
