#pragma once
// An object added to the scene (a copy, an import): undo takes it out again
// and keeps it until a redo puts it back or the step is forgotten.

#include "document/UndoCommand.h"

#include <memory>
#include <string>

namespace zelvane {

class COGLObject;
class COGLScene;

class AddObjectCommand final : public UndoCommand {
public:
    // `object` is not yet in the scene; the first Redo adds it.
    AddObjectCommand(std::string text, COGLScene& scene, std::unique_ptr<COGLObject> object);
    ~AddObjectCommand() override;

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return text_; }

    COGLObject& Object() const { return object_; }

private:
    std::string text_;
    COGLScene& scene_;
    COGLObject& object_;
    // Held here while the object is out of the scene.
    std::unique_ptr<COGLObject> held_;
};

} // namespace zelvane
