#include "document/AddObjectCommand.h"

#include "scene/COGLObject.h"
#include "scene/COGLScene.h"

namespace zelvane {

AddObjectCommand::AddObjectCommand(std::string text, COGLScene& scene, std::unique_ptr<COGLObject> object)
    : text_(std::move(text)), scene_(scene), object_(*object), held_(std::move(object))
{
}

AddObjectCommand::~AddObjectCommand() = default;

void AddObjectCommand::Undo()
{
    held_ = scene_.TakeObject(&object_);
}

void AddObjectCommand::Redo()
{
    if (held_)
        scene_.AddObject(std::move(held_));
}

} // namespace zelvane
