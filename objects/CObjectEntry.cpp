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

int32_t CObjectEntry::Reread()
{
    CTGResFile& container = owner_->Container();
    ResHandle* stored = container.GetResource(kTypeOBJD, definitionId_, &ObjectDefinition::KeepAsStored);
    if (!stored) {
        const int32_t error = container.GetLastError();
        return error != kResOk ? error : kErrNoSuchResource;
    }
    definition_ = ObjectDefinition::FromBytes(stored->Bytes());
    container.GetResName(stored, resourceName_);
    container.ReleaseResource(stored);
    ReadCatalogStrings();
    return kResOk;
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
