#include "document/PlaceObjectCommand.h"

#include "scene/COGLObject.h"

namespace zelvane {

PlaceObjectCommand::PlaceObjectCommand(std::string text, COGLObject& object, const ObjectPlacement& before,
                                       const ObjectPlacement& after, std::uint64_t drag)
    : text_(std::move(text)), object_(object), before_(before), after_(after), drag_(drag)
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

bool PlaceObjectCommand::MergeWith(const UndoCommand& next)
{
    const auto* later = dynamic_cast<const PlaceObjectCommand*>(&next);
    if (!later || drag_ == 0 || later->drag_ != drag_ || &later->object_ != &object_)
        return false;
    after_ = later->after_;
    return true;
}

} // namespace zelvane
