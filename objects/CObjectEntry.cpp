#include "objects/CObjectEntry.h"

#include "objects/CObjectFile.h"

namespace zelvane {

CObjectEntry::CObjectEntry(CObjectFile& owner, int16_t definitionId, std::string resourceName,
                           ObjectDefinition definition)
    : owner_(&owner), definitionId_(definitionId), resourceName_(std::move(resourceName)),
      definition_(std::move(definition))
{
}

bool CObjectEntry::IsListed() const
{
    return definition_.Word(objd::kGroupId / 2) == 0 || definition_.Word(objd::kGroupPlace / 2) == -1;
}

void CObjectEntry::ReadCatalogStrings()
{
    catalog_ = zelvane::ReadCatalogStrings(owner_->Container(), definition_);
}

ObjectSummary CObjectEntry::Summary() const
{
    ObjectSummary summary;
    summary.name = catalog_.DisplayName();
    summary.description = catalog_.DisplayDescription();
    summary.price = definition_.Price();
    return summary;
}

} // namespace zelvane
