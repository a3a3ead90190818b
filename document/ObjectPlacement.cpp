#include "document/ObjectPlacement.h"

#include "scene/COGLObject.h"

namespace zelvane {

ObjectPlacement ObjectPlacement::Of(const COGLObject& object)
{
    return {object.Position(),      object.Scale(),        object.Orientation(),
            object.TextureOffset(), object.TextureScale(), object.TextureRotation()};
}

void ObjectPlacement::ApplyTo(COGLObject& object) const
{
    object.SetPosition(position.x, position.y, position.z);
    object.SetScale(scale.x, scale.y, scale.z);
    object.SetOrientation(orientation);
    object.SetTextureOffset(textureOffset);
    object.SetTextureScale(textureScale);
    object.SetTextureRotation(textureRotation);
}

} // namespace zelvane
