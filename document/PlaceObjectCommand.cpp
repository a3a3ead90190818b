#include "document/PlaceObjectCommand.h"

#include "scene/COGLObject.h"

namespace zelvane {

PlaceObjectCommand::PlaceObjectCommand(std::string text, COGLObject& object, const ObjectPlacement& before,
                                       const ObjectPlacement& after)
    : text_(std::move(text)), object_(object), before_(before), after_(after)
{
}

void PlaceObjectCommand::Undo()
{
    before_.ApplyTo(object_);
}

void PlaceObjectCommand::Redo()
{
    after_.ApplyTo(object_);
}

bool PlaceObjectCommand::ChangesSavedScene() const
{
    return (object_.Flags() & COGLObject::kLightMarkerFlag) == 0;
}

} // namespace zelvane
