#pragma once
// An object moved, turned or scaled, or its texture moved, scaled or turned:
// its placement before and after. The steps of one drag share a drag number
// and merge into one command.

#include "document/ObjectPlacement.h"
#include "document/UndoCommand.h"

#include <cstdint>
#include <string>

namespace zelvane {

class COGLObject;

class PlaceObjectCommand final : public UndoCommand {
public:
    // `drag` 0 never merges.
    PlaceObjectCommand(std::string text, COGLObject& object, const ObjectPlacement& before,
                       const ObjectPlacement& after, std::uint64_t drag);

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return text_; }
    // Takes the later placement of a command of the same drag on the same object.
    bool MergeWith(const UndoCommand& next) override;

    const ObjectPlacement& Before() const { return before_; }
    const ObjectPlacement& After() const { return after_; }

private:
    std::string text_;
    COGLObject& object_;
    ObjectPlacement before_;
    ObjectPlacement after_;
    std::uint64_t drag_;
};

} // namespace zelvane
