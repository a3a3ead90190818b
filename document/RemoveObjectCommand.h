#pragma once
// An object deleted from the scene: kept here, not destroyed, so that undo
// puts the very same object back where it stood in the scene's list.

#include "document/UndoCommand.h"

#include <cstddef>
#include <memory>
#include <string>

namespace zelvane {

class COGLObject;
class COGLScene;

class RemoveObjectCommand final : public UndoCommand {
public:
    // `object` must be one of the scene's; the first Redo takes it out.
    RemoveObjectCommand(std::string text, COGLScene& scene, COGLObject& object);
    ~RemoveObjectCommand() override;

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return text_; }

private:
    std::string text_;
    COGLScene& scene_;
    COGLObject& object_;
    std::size_t index_ = 0;
    std::unique_ptr<COGLObject> held_;
};

} // namespace zelvane
