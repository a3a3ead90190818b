#include "document/ObjectPanelModel.h"

#include <algorithm>

namespace zelvane {

namespace {

int& SideOf(CageSize& size, CageSide side)
{
    switch (side) {
    case CageSide::Height: return size.height;
    case CageSide::Width: return size.width;
    case CageSide::Depth: break;
    }
    return size.depth;
}

} // namespace

int MaxCageSide(CageSide side)
{
    return side == CageSide::Height ? 6 : 15;
}

ObjectSummary ObjectPanelModel::Shown() const
{
    const CObjectEntry* object = document_.WorkingObject().CurrentObject();
    return object ? object->Summary() : ObjectSummary{};
}

bool ObjectPanelModel::HasObject() const
{
    return document_.WorkingObject().CurrentObject() != nullptr;
}

Status ObjectPanelModel::Reread()
{
    Status committed = document_.WorkingObject().Commit();
    // An entry that cannot be read again keeps showing what it had.
    if (CObjectEntry* object = document_.WorkingObject().CurrentObject())
        static_cast<void>(object->Reread());
    return committed;
}

Result<CObjectFile*> ObjectPanelModel::FileForProperties()
{
    // A file that lists no object has nothing to edit either.
    if (!document_.WorkingObject().CurrentObject())
        return Result<CObjectFile*>::Failure(kNoBaseObjectText);
    return document_.WorkingObject().File();
}

int ObjectPanelModel::CageSideValue(CageSide side) const
{
    CageSize size = document_.Cage();
    return SideOf(size, side);
}

void ObjectPanelModel::SetCageSide(CageSide side, int value)
{
    CageSize size = document_.Cage();
    SideOf(size, side) = std::clamp(value, kMinCageSide, MaxCageSide(side));
    document_.SetCage(size);
}

} // namespace zelvane
