#include "document/UndoHistory.h"

#include <algorithm>

namespace zelvane {

UndoHistory::UndoHistory(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {}

void UndoHistory::Push(std::unique_ptr<UndoCommand> command)
{
    if (!command)
        return;
    command->Redo();
    Add(std::move(command));
}

void UndoHistory::Record(std::unique_ptr<UndoCommand> command)
{
    if (command)
        Add(std::move(command));
}

void UndoHistory::Add(std::unique_ptr<UndoCommand> command)
{
    // Steps undone before this change can no longer be redone. They go from
    // the newest back, so commands that own objects let go in reverse order.
    while (commands_.size() > done_)
        commands_.pop_back();
    if (savedAt_ && *savedAt_ > done_)
        savedAt_.reset(); // the saved state was among the steps dropped
    if (!commands_.empty() && commands_.back()->MergeWith(*command)) {
        if (savedAt_ == done_)
            savedAt_.reset(); // the step that led to it has changed
        Changed();
        return;
    }
    commands_.push_back(std::move(command));
    if (commands_.size() > limit_) {
        commands_.pop_front();
        if (savedAt_)
            savedAt_ = *savedAt_ > 0 ? std::optional<std::size_t>(*savedAt_ - 1) : std::nullopt;
    }
    done_ = commands_.size();
    Changed();
}

std::string UndoHistory::UndoText() const
{
    return CanUndo() ? commands_[done_ - 1]->Text() : std::string();
}

std::string UndoHistory::RedoText() const
{
    return CanRedo() ? commands_[done_]->Text() : std::string();
}

void UndoHistory::Undo()
{
    if (!CanUndo())
        return;
    --done_;
    commands_[done_]->Undo();
    Changed();
}

void UndoHistory::Redo()
{
    if (!CanRedo())
        return;
    commands_[done_]->Redo();
    ++done_;
    Changed();
}

void UndoHistory::Clear()
{
    while (!commands_.empty())
        commands_.pop_back();
    done_ = 0;
    savedAt_ = 0;
    Changed();
}

void UndoHistory::MarkSaved()
{
    savedAt_ = done_;
    Changed();
}

void UndoHistory::Changed() const
{
    if (observer_)
        observer_();
}

} // namespace zelvane
