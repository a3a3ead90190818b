#include "document/RemoveObjectCommand.h"

#include "scene/COGLObject.h"
#include "scene/COGLScene.h"

namespace zelvane {

RemoveObjectCommand::RemoveObjectCommand(std::string text, COGLScene& scene, COGLObject& object)
    : text_(std::move(text)), scene_(scene), object_(object)
{
}

RemoveObjectCommand::~RemoveObjectCommand() = default;

void RemoveObjectCommand::Undo()
{
    if (held_)
        scene_.InsertObject(index_, std::move(held_));
}

void RemoveObjectCommand::Redo()
{
    if (!held_)
        held_ = scene_.TakeObject(&object_, &index_);
}

} // namespace zelvane
