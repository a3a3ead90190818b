#include "document/TextureCommands.h"

#include "scene/COGLMesh.h"
#include "scene/COGLObject.h"
#include "scene/COGLScene.h"
#include "scene/COGLTexture2D.h"

namespace zelvane {

ObjectTextureState ObjectTextureState::Of(const COGLObject& object)
{
    return {object.Texture(), object.TextureRotation(), object.TextureOffset(), object.TextureScale(),
            object.TextureEnvMode()};
}

void ObjectTextureState::ApplyTo(COGLObject& object) const
{
    object.SetTexture(texture);
    object.SetTextureRotation(rotation);
    object.SetTextureOffset(offset);
    object.SetTextureScale(scale);
    object.SetTextureEnvMode(envMode);
}

ObjectTextureCommand::ObjectTextureCommand(std::string text, COGLObject& object, const ObjectTextureState& before,
                                           const ObjectTextureState& after)
    : text_(std::move(text)), object_(object), before_(before), after_(after)
{
}

void ObjectTextureCommand::Undo()
{
    before_.ApplyTo(object_);
}

void ObjectTextureCommand::Redo()
{
    after_.ApplyTo(object_);
}

GroupTextureCommand::GroupTextureCommand(COGLMesh& mesh, std::size_t part, std::size_t group, std::string before,
                                         std::string after)
    : mesh_(mesh), part_(part), group_(group), before_(std::move(before)), after_(std::move(after))
{
}

void GroupTextureCommand::Undo()
{
    mesh_.RestoreGroupTexture(part_, group_, before_);
}

void GroupTextureCommand::Redo()
{
    mesh_.RestoreGroupTexture(part_, group_, after_);
}

AddTextureCommand::AddTextureCommand(std::string text, COGLScene& scene, std::unique_ptr<COGLTexture2D> texture)
    : text_(std::move(text)), scene_(scene), texture_(*texture), held_(std::move(texture))
{
}

AddTextureCommand::~AddTextureCommand() = default;

void AddTextureCommand::Undo()
{
    held_ = scene_.TakeTexture(&texture_);
}

void AddTextureCommand::Redo()
{
    if (held_)
        scene_.AddTexture(std::move(held_));
}

} // namespace zelvane
