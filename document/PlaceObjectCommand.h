#pragma once
// An object moved, turned or scaled, or its texture moved, scaled or turned
// (a whole drag, or one arrow-key step): its placement before and after.

#include "document/ObjectPlacement.h"
#include "document/UndoCommand.h"

#include <string>

namespace zelvane {

class COGLObject;

class PlaceObjectCommand final : public UndoCommand {
public:
    PlaceObjectCommand(std::string text, COGLObject& object, const ObjectPlacement& before,
                       const ObjectPlacement& after);

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return text_; }
    // A light's marker: scene files keep no lights.
    bool ChangesSavedScene() const override;

    const ObjectPlacement& Before() const { return before_; }
    const ObjectPlacement& After() const { return after_; }

private:
    std::string text_;
    COGLObject& object_;
    ObjectPlacement before_;
    ObjectPlacement after_;
};

} // namespace zelvane
