#include "resfile/CTGResDir.h"

#include "resfile/CTGFile.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/IffLayout.h"
#include "resfile/PathUtil.h"

#include <algorithm>

namespace zelvane {

CTGResDir::CTGResDir() = default;

CTGResDir::~CTGResDir()
{
    static_cast<void>(CloseContainer()); // nobody to tell: close explicitly to know
}

bool CTGResDir::Enter()
{
    SetError(open_ ? kResOk : kErrNotOpen);
    return open_;
}

ResType CTGResDir::TypeOfName(std::string_view name)
{
    const size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot + 1 >= name.size() || name.size() - dot - 1 > 3)
        return 0;
    ResType type = 0;
    int shift = 24;
    for (char c : name.substr(dot + 1)) {
        type |= static_cast<uint32_t>(static_cast<uint8_t>(c)) << shift;
        shift -= 8;
    }
    return type;
}

int32_t CTGResDir::OpenContainer(std::string_view path)
{
    // Close explicitly to learn what closing the previous folder says.
    static_cast<void>(CloseContainer());
    SetError(kResOk);
    const std::string native = ToNativeSeparators(path);
    std::string_view trimmed = native;
    while (trimmed.starts_with("./"))
        trimmed.remove_prefix(2);
    while (trimmed.size() > 1 && trimmed.ends_with('/'))
        trimmed.remove_suffix(1);
    const std::string folder = trimmed.empty() ? std::string(".") : std::string(trimmed);

    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    if (!fileSystem.IsFolder(folder))
        return SetError(kErrAlreadyOpen);
    FsFind find;
    FsFindData item;
    bool more = fileSystem.FindFirst(folder + "/*.*", find, item);
    for (; more; more = fileSystem.FindNext(find, item)) {
        if (item.folder)
            continue;
        const ResType type = TypeOfName(item.name);
        if (type == 0)
            continue;
        if (std::find(types_.begin(), types_.end(), type) == types_.end())
            types_.push_back(type);
        const auto sameType = std::count_if(files_.begin(), files_.end(), [&](const File& f) { return f.type == type; });
        if (sameType >= INT16_MAX)
            continue;
        files_.push_back({type, static_cast<int16_t>(sameType + 1), item.name, nullptr});
    }
    folder_ = folder;
    open_ = true;
    return SetError(kResOk);
}

int32_t CTGResDir::CloseContainer()
{
    if (!Enter())
        return lastError_;
    for (File& file : files_)
        ResHandle::Dispose(file.data);
    files_.clear();
    types_.clear();
    open_ = false;
    return SetError(kResOk);
}

ResHandle* CTGResDir::Load(File& file, ConvertProc convert)
{
    if (file.data)
        return file.data;
    CTGFile disk;
    uint64_t size = 0;
    int32_t error = disk.Open(folder_ + "/" + file.name);
    if (error == kResOk)
        error = disk.GetEOF(size);
    if (error == kResOk && size > kChunkMaxSize)
        error = kErrShortRead;
    ResHandle* data = nullptr;
    if (error == kResOk) {
        data = ResHandle::Create(static_cast<uint32_t>(size));
        error = data ? disk.ReadAt(0, data->Data(), data->Size()) : kErrNoCompactionMemory;
    }
    if (error != kResOk) {
        ResHandle::Dispose(data);
        SetError(error);
        return nullptr;
    }
    if (convert)
        convert(data->Data(), data->Size());
    file.data = data;
    return data;
}

CTGResDir::File* CTGResDir::FindHandle(const ResHandle* handle)
{
    auto it = std::find_if(files_.begin(), files_.end(), [&](const File& f) { return handle && f.data == handle; });
    return it == files_.end() ? nullptr : &*it;
}

// A folder of loose files cannot be created, changed or deleted through here.
int32_t CTGResDir::CreateContainer(std::string_view) { return SetError(kErrNotAvailable); }
int32_t CTGResDir::DeleteContainer(std::string_view) { return SetError(kErrNotAvailable); }
int32_t CTGResDir::UpdateContainer() { return SetError(kErrNotAvailable); }
int32_t CTGResDir::AddResource(ResHandle*, ResType, int16_t, std::string_view, ResConverted) { return SetError(kErrNotAvailable); }
int32_t CTGResDir::WriteResource(ResHandle*) { return SetError(kErrNotAvailable); }
int32_t CTGResDir::RemoveResource(ResHandle*) { return SetError(kErrNotAvailable); }
int32_t CTGResDir::SetResInfo(ResHandle*, int16_t, std::string_view, int32_t) { return SetError(kErrNotAvailable); }
int32_t CTGResDir::DetachResource(ResHandle*) { return SetError(kErrNotAvailable); }
int32_t CTGResDir::Suspend() { return SetError(kResOk); }
int32_t CTGResDir::Resume() { return SetError(kResOk); }
bool CTGResDir::IsWritable() { return false; }
bool CTGResDir::IsOpen() { return open_; }

void CTGResDir::GetFilePath(std::string& path)
{
    path = Enter() ? folder_ : std::string();
}

int16_t CTGResDir::CountTypes()
{
    return Enter() ? static_cast<int16_t>(std::min<size_t>(types_.size(), INT16_MAX)) : 0;
}

ResType CTGResDir::GetIndType(int32_t index)
{
    if (!Enter())
        return 0;
    if (index < 1 || static_cast<size_t>(index) > types_.size()) {
        SetError(kErrTypeIndexRange);
        return 0;
    }
    return types_[static_cast<size_t>(index) - 1];
}

int16_t CTGResDir::CountResources(ResType type)
{
    if (!Enter())
        return 0;
    return static_cast<int16_t>(std::count_if(files_.begin(), files_.end(), [&](const File& f) { return f.type == type; }));
}

ResHandle* CTGResDir::GetResource(ResType type, int16_t id, ConvertProc convert)
{
    if (!Enter())
        return nullptr;
    for (File& file : files_)
        if (file.type == type && file.id == id)
            return Load(file, convert);
    SetError(kErrNoSuchResource);
    return nullptr;
}

ResHandle* CTGResDir::GetNamedResource(ResType type, std::string_view name, ConvertProc convert)
{
    if (!Enter())
        return nullptr;
    for (File& file : files_)
        if (file.type == type && file.name == name)
            return Load(file, convert);
    SetError(kErrNoSuchName);
    return nullptr;
}

ResHandle* CTGResDir::GetIndResource(ResType type, int32_t index, ConvertProc convert)
{
    return GetResource(type, static_cast<int16_t>(std::clamp<int32_t>(index, 0, INT16_MAX)), convert);
}

void CTGResDir::GetResName(ResHandle* handle, std::string& name)
{
    name.clear();
    if (!Enter())
        return;
    if (File* file = FindHandle(handle))
        name = file->name;
    else
        SetError(kErrNoSuchResource);
}

ResType CTGResDir::GetResType(ResHandle* handle)
{
    if (!Enter())
        return 0;
    if (File* file = FindHandle(handle))
        return file->type;
    SetError(kErrNoSuchResource);
    return 0;
}

void CTGResDir::GetResId(ResHandle* handle, int16_t& id)
{
    if (!Enter())
        return;
    if (File* file = FindHandle(handle))
        id = file->id;
    else
        SetError(kErrNoSuchResource);
}

uint8_t CTGResDir::GetResAttr(ResHandle* handle)
{
    if (Enter() && !FindHandle(handle))
        SetError(kErrNoSuchResource);
    return 0;
}

bool CTGResDir::IsConverted(ResHandle* handle)
{
    if (Enter() && !FindHandle(handle))
        SetError(kErrNoSuchName);
    return true;
}

int16_t CTGResDir::UniqueId(ResType type)
{
    if (!Enter())
        return 0;
    int32_t largest = 128;
    for (const File& file : files_)
        if (file.type == type)
            largest = std::max<int32_t>(largest, file.id);
    return static_cast<int16_t>(std::min<int32_t>(largest + 1, INT16_MAX));
}

void CTGResDir::MakeUniqueName(ResType type, std::string& name)
{
    if (!Enter())
        return;
    auto taken = [&](const std::string& candidate) {
        return std::any_of(files_.begin(), files_.end(), [&](const File& f) { return f.type == type && f.name == candidate; });
    };
    const std::string base = name;
    for (uint32_t n = 0; taken(name); ++n)
        name = base + std::to_string(n);
}

} // namespace zelvane
