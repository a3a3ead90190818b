#include "document/UndoHistory.h"

#include <algorithm>

namespace zelvane {

UndoHistory::UndoHistory(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {}

void UndoHistory::Push(std::unique_ptr<UndoCommand> command)
{
    if (!command)
        return;
    command->Redo();
    Record(std::move(command));
}

void UndoHistory::Record(std::unique_ptr<UndoCommand> command)
{
    if (!command)
        return;
    // Steps undone before this change can no longer be redone. They go from
    // the newest back, so commands that own objects let go in reverse order.
    while (commands_.size() > done_)
        commands_.pop_back();
    if (savedAt_ && *savedAt_ > done_)
        savedAt_.reset(); // the saved state was among the steps dropped
    commands_.push_back(std::move(command));
    if (commands_.size() > limit_) {
        commands_.pop_front();
        if (savedAt_)
            savedAt_ = *savedAt_ > 0 ? std::optional<std::size_t>(*savedAt_ - 1) : std::nullopt;
    }
    done_ = commands_.size();
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
}

void UndoHistory::Redo()
{
    if (!CanRedo())
        return;
    commands_[done_]->Redo();
    ++done_;
}

void UndoHistory::Clear()
{
    while (!commands_.empty())
        commands_.pop_back();
    done_ = 0;
    savedAt_ = 0;
}

void UndoHistory::MarkSaved()
{
    savedAt_ = done_;
}

bool UndoHistory::HasUnsavedChanges() const
{
    if (!savedAt_)
        return true;
    const std::size_t from = std::min(*savedAt_, done_);
    const std::size_t to = std::max(*savedAt_, done_);
    return std::any_of(commands_.begin() + static_cast<std::ptrdiff_t>(from),
                       commands_.begin() + static_cast<std::ptrdiff_t>(to),
                       [](const auto& command) { return command->ChangesSavedScene(); });
}

} // namespace zelvane
