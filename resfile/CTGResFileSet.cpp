// CTGResFileSet: forwarding every operation to the member containers.

#include "resfile/CTGResFileSet.h"

#include <algorithm>
#include <optional>

namespace zelvane {

CTGResFileSet::CTGResFileSet() = default;

CTGResFileSet::~CTGResFileSet()
{
    DestroyMembers();
}

void CTGResFileSet::DestroyMembers()
{
    for (Slot& slot : members_)
        if (slot.container && slot.container->IsOpen())
            static_cast<void>(slot.container->CloseContainer()); // nobody to tell: close explicitly to know
    members_.clear();
}

bool CTGResFileSet::AddMember(std::unique_ptr<CTGResFile> member)
{
    if (!member || members_.size() >= kMaxMembers)
        return false;
    members_.push_back({std::move(member), {}, FilterMode::Except});
    return true;
}

void CTGResFileSet::AddFilterTypes(size_t slot, FilterMode mode, const std::vector<ResType>& types)
{
    if (slot >= members_.size())
        return;
    Slot& member = members_[slot];
    if (!member.filter.empty() && member.mode != mode)
        return;
    member.mode = mode;
    for (ResType type : types)
        if (std::find(member.filter.begin(), member.filter.end(), type) == member.filter.end())
            member.filter.push_back(type);
}

bool CTGResFileSet::Admits(size_t slot, ResType type) const
{
    if (slot >= members_.size())
        return false;
    const Slot& member = members_[slot];
    const bool listed = std::find(member.filter.begin(), member.filter.end(), type) != member.filter.end();
    return member.mode == FilterMode::Only ? listed : !listed;
}

bool CTGResFileSet::CanAddType(ResType type)
{
    for (size_t i = 0; i < members_.size(); ++i)
        if (Admits(i, type) && members_[i].container->IsWritable())
            return true;
    return false;
}

// A member's answer is its last error, read right after it is asked: what
// `ask` returns is that same code.
template <typename Ask> void CTGResFileSet::AskUntilSuccess(int32_t errorWhenNone, Ask ask)
{
    SetError(errorWhenNone);
    for (Slot& slot : members_) {
        ask(*slot.container);
        SetError(slot.container->GetLastError());
        if (lastError_ == kResOk)
            return;
    }
}

template <typename Ask> void CTGResFileSet::AskWritableUntilSuccess(Ask ask)
{
    SetError(kErrNoSuchName);
    for (Slot& slot : members_) {
        if (!slot.container->IsWritable())
            continue;
        ask(*slot.container);
        SetError(slot.container->GetLastError());
        if (lastError_ == kResOk)
            return;
    }
}

// Containers are opened by the extension-aware sets; a bare set has no files of its own.
int32_t CTGResFileSet::CreateContainer(std::string_view) { return SetError(kErrNotAvailable); }
int32_t CTGResFileSet::DeleteContainer(std::string_view) { return SetError(kErrNotAvailable); }
int32_t CTGResFileSet::OpenContainer(std::string_view) { return SetError(kErrNotAvailable); }

int32_t CTGResFileSet::Suspend()
{
    int32_t result = kResOk;
    for (Slot& slot : members_)
        if (const int32_t error = slot.container->Suspend(); error != kResOk)
            result = error;
    return SetError(result);
}

int32_t CTGResFileSet::Resume()
{
    int32_t result = kResOk;
    for (Slot& slot : members_)
        if (const int32_t error = slot.container->Resume(); error != kResOk)
            result = error;
    return SetError(result);
}

int32_t CTGResFileSet::CloseContainer()
{
    int32_t result = kResOk;
    for (Slot& slot : members_)
        if (const int32_t error = slot.container->CloseContainer(); error != kResOk)
            result = error;
    return SetError(result);
}

int32_t CTGResFileSet::UpdateContainer()
{
    int32_t result = kResOk;
    for (Slot& slot : members_)
        if (slot.container->IsWritable())
            if (const int32_t error = slot.container->UpdateContainer(); error != kResOk && result == kResOk)
                result = error;
    return SetError(result);
}

int32_t CTGResFileSet::CommitContainer()
{
    int32_t result = kResOk;
    for (Slot& slot : members_)
        if (slot.container->IsWritable())
            if (const int32_t error = slot.container->CommitContainer(); error != kResOk && result == kResOk)
                result = error;
    return SetError(result);
}

bool CTGResFileSet::IsWritable()
{
    return std::any_of(members_.begin(), members_.end(), [](Slot& s) { return s.container->IsWritable(); });
}

bool CTGResFileSet::IsOpen()
{
    return std::any_of(members_.begin(), members_.end(), [](Slot& s) { return s.container->IsOpen(); });
}

void CTGResFileSet::GetFilePath(std::string& path)
{
    path.clear();
    SetError(kErrNotOpen);
    if (!members_.empty()) {
        members_.front().container->GetFilePath(path);
        SetError(members_.front().container->GetLastError());
    }
}

std::vector<ResType> CTGResFileSet::CollectTypes()
{
    std::vector<ResType> types;
    for (Slot& slot : members_) {
        const int16_t count = slot.container->CountTypes();
        for (int32_t i = count; i >= 1; --i) {
            const ResType type = slot.container->GetIndType(i);
            if (std::find(types.begin(), types.end(), type) == types.end())
                types.push_back(type);
        }
    }
    return types;
}

int16_t CTGResFileSet::CountTypes()
{
    SetError(kResOk);
    return static_cast<int16_t>(std::min<size_t>(CollectTypes().size(), INT16_MAX));
}

ResType CTGResFileSet::GetIndType(int32_t index)
{
    SetError(kResOk);
    const std::vector<ResType> types = CollectTypes();
    if (index < 1 || static_cast<size_t>(index) > types.size()) {
        SetError(kErrTypeIndexRange);
        return 0;
    }
    return types[static_cast<size_t>(index) - 1];
}

int16_t CTGResFileSet::CountResources(ResType type)
{
    SetError(kResOk);
    int32_t total = 0;
    for (Slot& slot : members_) {
        total += slot.container->CountResources(type);
        if (slot.container->GetLastError() != kResOk) {
            SetError(slot.container->GetLastError());
            return 0;
        }
    }
    return static_cast<int16_t>(std::min<int32_t>(total, INT16_MAX));
}

ResHandle* CTGResFileSet::GetResource(ResType type, int16_t id, ConvertProc convert)
{
    ResHandle* found = nullptr;
    AskUntilSuccess(kErrNoSuchResource, [&](CTGResFile& m) { found = m.GetResource(type, id, convert); });
    return lastError_ == kResOk ? found : nullptr;
}

ResHandle* CTGResFileSet::GetResourceEx(ResType type, int16_t id, uint8_t attribute, ConvertProc convert)
{
    ResHandle* found = nullptr;
    AskUntilSuccess(kErrNoSuchResource,
                    [&](CTGResFile& m) { found = m.GetResourceEx(type, id, attribute, convert); });
    return lastError_ == kResOk ? found : nullptr;
}

ResHandle* CTGResFileSet::GetNamedResource(ResType type, std::string_view name, ConvertProc convert)
{
    ResHandle* found = nullptr;
    AskUntilSuccess(kErrNoSuchResource, [&](CTGResFile& m) { found = m.GetNamedResource(type, name, convert); });
    return lastError_ == kResOk ? found : nullptr;
}

ResHandle* CTGResFileSet::GetIndResource(ResType type, int32_t index, ConvertProc convert)
{
    SetError(kResOk);
    for (Slot& slot : members_) {
        const int16_t count = slot.container->CountResources(type);
        if (slot.container->GetLastError() != kResOk) {
            SetError(slot.container->GetLastError());
            return nullptr;
        }
        if (index > count) {
            index -= count;
            continue;
        }
        ResHandle* found = slot.container->GetIndResource(type, index, convert);
        SetError(slot.container->GetLastError());
        return found;
    }
    SetError(kErrNoSuchResource);
    return nullptr;
}

void CTGResFileSet::GetResName(ResHandle* handle, std::string& name)
{
    AskUntilSuccess(kErrNoSuchResource, [&](CTGResFile& m) { m.GetResName(handle, name); });
}

ResType CTGResFileSet::GetResType(ResHandle* handle)
{
    ResType type = 0;
    AskUntilSuccess(kErrNoSuchResource, [&](CTGResFile& m) { type = m.GetResType(handle); });
    return type;
}

void CTGResFileSet::GetResId(ResHandle* handle, int16_t& id)
{
    AskUntilSuccess(kErrNoSuchResource, [&](CTGResFile& m) { m.GetResId(handle, id); });
}

uint8_t CTGResFileSet::GetResAttr(ResHandle* handle)
{
    uint8_t attribute = 0;
    AskUntilSuccess(kErrNoSuchResource, [&](CTGResFile& m) { attribute = m.GetResAttr(handle); });
    return attribute;
}

bool CTGResFileSet::IsConverted(ResHandle* handle)
{
    bool converted = true;
    AskUntilSuccess(kErrNoSuchName, [&](CTGResFile& m) { converted = m.IsConverted(handle); });
    return converted;
}

int32_t CTGResFileSet::DetachResource(ResHandle* handle)
{
    AskUntilSuccess(kErrNoSuchName, [&](CTGResFile& m) { static_cast<void>(m.DetachResource(handle)); });
    return lastError_;
}

int32_t CTGResFileSet::WriteResource(ResHandle* handle)
{
    AskWritableUntilSuccess([&](CTGResFile& m) { static_cast<void>(m.WriteResource(handle)); });
    return lastError_;
}

int32_t CTGResFileSet::RemoveResource(ResHandle* handle)
{
    AskWritableUntilSuccess([&](CTGResFile& m) { static_cast<void>(m.RemoveResource(handle)); });
    return lastError_;
}

int32_t CTGResFileSet::SetResInfo(ResHandle* handle, int16_t id, std::string_view name, int32_t flag)
{
    AskWritableUntilSuccess([&](CTGResFile& m) { static_cast<void>(m.SetResInfo(handle, id, name, flag)); });
    return lastError_;
}

int16_t CTGResFileSet::UniqueId(ResType type)
{
    SetError(kResOk);
    if (members_.empty())
        return 0;
    const int16_t id = members_.front().container->UniqueId(type);
    SetError(members_.front().container->GetLastError());
    return id;
}

void CTGResFileSet::MakeUniqueName(ResType type, std::string& name)
{
    SetError(kResOk);
    if (name.empty())
        name = "anonymous 0";
    for (Slot& slot : members_)
        slot.container->MakeUniqueName(type, name);
}

int32_t CTGResFileSet::AddResource(ResHandle* handle, ResType type, int16_t id, std::string_view name,
                                   ResConverted converted)
{
    return AddResourceEx(handle, type, id, name, 0, converted);
}

int32_t CTGResFileSet::AddResourceEx(ResHandle* handle, ResType type, int16_t id, std::string_view name,
                                     uint8_t attribute, ResConverted converted)
{
    // Find where the new resource goes before anything is removed: with no
    // member to take it, the old one must stay.
    std::optional<size_t> destination;
    int32_t noDestination = kErrNoWritableMember;
    for (size_t i = 0; i < members_.size() && !destination; ++i) {
        if (!Admits(i, type))
            noDestination = kErrNoFilterAdmits;
        else if (members_[i].container->IsWritable())
            destination = i;
    }
    if (!destination)
        return SetError(noDestination);

    ResHandle* existing = GetResourceEx(type, id, attribute, nullptr);
    if (existing && existing == handle) {
        static_cast<void>(DetachResource(handle)); // it is the one being added: found again below or not
        existing = GetResourceEx(type, id, attribute, nullptr);
    }
    // Lookups with an attribute fall back to attribute 0; replacing must not
    // delete that differently tagged resource.
    if (existing && attribute != 0 && GetResAttr(existing) != attribute)
        existing = nullptr;
    if (existing) {
        if (RemoveResource(existing) != kResOk)
            return lastError_;
    }
    return SetError(members_[*destination].container->AddResourceEx(handle, type, id, name, attribute, converted));
}

} // namespace zelvane
