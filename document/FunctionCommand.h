#pragma once
// A command made of two functions, for changes that need no class of their
// own (a panel's field, a colour): `redo` makes the change, `undo` takes it
// back. Both must capture what they need by value or outlive the history.

#include "document/UndoCommand.h"

#include <functional>
#include <string>

namespace zelvane {

class FunctionCommand final : public UndoCommand {
public:
    FunctionCommand(std::string text, std::function<void()> redo, std::function<void()> undo)
        : text_(std::move(text)), redo_(std::move(redo)), undo_(std::move(undo))
    {
    }

    void Undo() override { undo_(); }
    void Redo() override { redo_(); }
    std::string Text() const override { return text_; }

private:
    std::string text_;
    std::function<void()> redo_;
    std::function<void()> undo_;
};

} // namespace zelvane
