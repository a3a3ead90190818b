#include "objects/ResourceCopy.h"

#include "resfile/CTGExtResFileSet.h"

namespace zelvane {

std::unique_ptr<CTGObjResFileSet> MakeWorkingFileTarget()
{
    auto target = std::make_unique<CTGObjResFileSet>();
    target->ClearRegistrations();
    target->RegisterExtension(ContainerKind::Iff, ".iff");
    return target;
}

int32_t AddAndWrite(CTGResFile& target, std::span<const uint8_t> bytes, ResType type, int16_t id,
                    const std::string& name, bool converted)
{
    ResHandle* copy = ResHandle::CreateFrom(bytes);
    if (!copy)
        return kErrNoCompactionMemory;
    if (target.AddResource(copy, type, id, name, converted ? ResConverted::Yes : ResConverted::No) != kResOk) {
        ResHandle::Dispose(copy);
        return target.GetLastError();
    }
    if (target.WriteResource(copy) != kResOk)
        return target.GetLastError();
    return kResOk;
}

} // namespace zelvane
