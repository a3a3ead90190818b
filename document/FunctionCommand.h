#pragma once
// A command made of two functions, for changes that need no class of their
// own (a setting of the document): `redo` makes the change, `undo` takes it
// back. Both must capture what they need by value, or the history's owner.

#include "document/UndoCommand.h"

#include <functional>
#include <string>

namespace zelvane {

enum class SavedWithScene { Yes, No };

class FunctionCommand final : public UndoCommand {
public:
    FunctionCommand(std::string text, std::function<void()> redo, std::function<void()> undo,
                    SavedWithScene saved = SavedWithScene::Yes)
        : text_(std::move(text)), redo_(std::move(redo)), undo_(std::move(undo)), saved_(saved)
    {
    }

    void Undo() override { undo_(); }
    void Redo() override { redo_(); }
    std::string Text() const override { return text_; }
    bool ChangesSavedScene() const override { return saved_ == SavedWithScene::Yes; }

private:
    std::string text_;
    std::function<void()> redo_;
    std::function<void()> undo_;
    SavedWithScene saved_;
};

} // namespace zelvane
