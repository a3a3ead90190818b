#include "resfile/CTGResFile.h"

#include "resfile/CTGStringList.h"

namespace zelvane {

CTGResFile::~CTGResFile() = default;

ResHandle* CTGResFile::GetResourceEx(ResType type, int16_t id, uint8_t attribute, ConvertProc convert)
{
    if (attribute != 0) {
        SetError(kErrAttrUnsupported);
        return nullptr;
    }
    return GetResource(type, id, convert);
}

int32_t CTGResFile::ReservedSlot21()
{
    return SetError(kErrNotAvailable);
}

int32_t CTGResFile::ReservedSlot26()
{
    return SetError(kErrNotAvailable);
}

int32_t CTGResFile::CopyResource(ResHandle* handle, CTGResFile& target)
{
    std::string name;
    GetResName(handle, name);
    if (lastError_ != kResOk)
        return lastError_;
    const ResType type = GetResType(handle);
    int16_t id = 0;
    GetResId(handle, id);
    const uint8_t attribute = GetResAttr(handle);
    const bool converted = IsConverted(handle);
    if (lastError_ != kResOk)
        return lastError_;
    ResHandle* copy = ResHandle::CreateFrom(handle->Bytes());
    if (!copy)
        return SetError(kErrNoCompactionMemory);
    const int32_t error =
        target.AddResourceEx(copy, type, id, name, attribute, converted ? ResConverted::Yes : ResConverted::No);
    if (error != kResOk)
        ResHandle::Dispose(copy);
    return SetError(error);
}

int32_t CTGResFile::AddResourceEx(ResHandle* handle, ResType type, int16_t id, std::string_view, uint8_t,
                                  ResConverted converted)
{
    return AddResource(handle, type, id, {}, converted);
}

void CTGResFile::GetIndString(std::string& text, int16_t listId, int32_t index)
{
    text.clear();
    CTGStringList list;
    if (list.LoadWithFallback(this, listId, -1) != kResOk)
        return;
    if (std::optional<std::string> found = list.GetString(index))
        text = found->substr(0, 255);
}

int32_t CTGResFile::CommitContainer()
{
    return UpdateContainer();
}

int32_t CTGResFile::ReleaseResource(ResHandle* handle)
{
    const int32_t error = DetachResource(handle);
    if (error == kResOk)
        ResHandle::Dispose(handle);
    return error;
}

} // namespace zelvane
