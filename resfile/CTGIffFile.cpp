// CTGIffFile: the IFF container.
//
//   1. Open, close, suspend and the index (map or scan)
//   2. Reading operations
//   3. Writing operations
//   4. Space management: chunk headers, freeing, allocation, compaction
//   5. Close of a changed container and the map rewrite

#include "resfile/CTGIffFile.h"

#include "bytes/ByteSpanWriter.h"
#include "resfile/CTGRecord.h"
#include "resfile/FileReplacement.h"
#include "resfile/ResourceMapRecord.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace zelvane {

namespace {

// Pieces in which compaction copies chunks.
constexpr uint32_t kCopyBufferSize = 51200;
// Closing with at least this many free bytes compacts the file.
constexpr uint32_t kCompactThreshold = 10240;
constexpr uint32_t kFirstChunkOffset = kIffHeaderSize;

} // namespace

CTGIffFile::CTGIffFile() = default;

CTGIffFile::~CTGIffFile()
{
    if (IsOpen())
        static_cast<void>(CloseContainer()); // nobody to tell: close explicitly to know
}

bool CTGIffFile::Enter()
{
    if (!file_.IsOpen()) {
        SetError(kErrNotOpen);
        return false;
    }
    SetError(kResOk);
    return true;
}

// ---------------------------------------------------------------------------
// 1. Open, close, suspend and the index

int32_t CTGIffFile::OpenContainer(std::string_view path)
{
    return OpenContainer(path, IndexMode::PreferMap);
}

int32_t CTGIffFile::OpenContainer(std::string_view path, IndexMode mode)
{
    SetError(kResOk);
    if (file_.IsOpen())
        return SetError(kErrAlreadyOpen);
    if ((openReadOnly_ ? file_.OpenReadOnly(path) : file_.Open(path)) != kResOk)
        return SetError(kErrCannotOpen);

    IffHeaderBytes header{};
    IffHeaderInfo info;
    if (file_.ReadAt(0, header.data(), kIffHeaderSize) != kResOk || !ParseIffHeader(header, info)) {
        file_.Close();
        return SetError(kErrNotIff);
    }
    version_ = info.version;
    mapOffset_ = info.mapOffset;
    index_.Clear();
    claims_.Clear();
    claimsReady_ = false;
    nextFit_ = -1;
    changed_ = false;

    source_ = IndexSource::None;
    // A map offset that is not used stays in mapOffset_: the first change must
    // still clear the header (freeing the chunk there only if it is a live map).
    if (mode == IndexMode::ForceScan || mapOffset_ == 0 || !BuildIndexByMap()) {
        const int32_t error = BuildIndexByScan();
        if (error != kResOk) {
            file_.Close();
            index_.Clear();
            return SetError(error);
        }
    }
    // Callers never see the map chunk.
    index_.RemoveGroup(kTypeMap);
    return SetError(kResOk);
}

int32_t CTGIffFile::ReadChunkHeader(uint64_t offset, ChunkHeader& header)
{
    ChunkHeaderBytes bytes{};
    const int32_t error = file_.ReadAt(offset, bytes.data(), kChunkHeaderSize);
    if (error != kResOk)
        return error;
    header = ParseChunkHeader(bytes);
    return kResOk;
}

int32_t CTGIffFile::BuildIndexByScan()
{
    index_.Clear();
    source_ = IndexSource::Scan;
    uint64_t offset = kFirstChunkOffset;
    ChunkHeader header;
    // Offsets are 32-bit in the index and the map: a chain that runs past 4 GiB ends the scan.
    while (offset <= UINT32_MAX - kChunkHeaderSize && ReadChunkHeader(offset, header) == kResOk) {
        if (!header.SizeValid())
            break;
        if (header.flags & kChunkFlagFree) {
            // Flagged but of another type: not listed, and not space to reuse either.
            if (header.MarkedFree())
                index_.freeBytes += header.size;
        } else {
            IffTypeGroup* group = index_.FindGroup(header.type);
            if (!group) {
                index_.groups.push_back({header.type, nullptr, {}});
                group = &index_.groups.back();
            }
            IffEntry entry;
            entry.offset = static_cast<uint32_t>(offset);
            entry.id = header.id;
            entry.memFlags = header.flags;
            entry.diskFlags = header.flags;
            entry.label = std::move(header.label);
            group->entries.push_back(std::move(entry));
        }
        offset += header.size;
    }
    return kResOk;
}

bool CTGIffFile::BuildIndexByMap()
{
    ChunkHeader header;
    if (ReadChunkHeader(mapOffset_, header) != kResOk || header.type != kTypeMap ||
        (header.flags & kChunkFlagFree) || !header.SizeValid())
        return false;
    uint64_t fileSize = 0;
    if (file_.GetEOF(fileSize) != kResOk || header.size > fileSize || mapOffset_ > fileSize - header.size)
        return false;
    std::unique_ptr<ResHandle, decltype(&ResHandle::Dispose)> data(ResHandle::Create(header.DataLength()),
                                                                   &ResHandle::Dispose);
    if (!data || file_.ReadAt(mapOffset_ + kChunkHeaderSize, data->Data(), data->Size()) != kResOk)
        return false;
    IffIndex decoded;
    ResourceMapRecord record(decoded);
    if (!CTGRecord::Read(record, *data))
        return false;
    // A map that lists itself is stale.
    if (decoded.FindGroup(kTypeMap))
        return false;
    index_ = std::move(decoded);
    source_ = IndexSource::Map;
    return true;
}

void CTGIffFile::ReleaseAll()
{
    for (IffTypeGroup& group : index_.groups)
        for (IffEntry& entry : group.entries) {
            ResHandle::Dispose(entry.data);
            entry.data = nullptr;
        }
    index_.Clear();
}

int32_t CTGIffFile::Suspend()
{
    SetError(kResOk);
    std::string path;
    if (file_.GetPath(path) != kResOk)
        return SetError(kErrNotOpen);
    const int32_t error = CloseContainer();
    resumePath_ = path;
    return SetError(error);
}

int32_t CTGIffFile::Resume()
{
    SetError(kResOk);
    if (!resumePath_)
        return SetError(kErrCannotOpen);
    const std::string path = *resumePath_;
    resumePath_.reset();
    const int32_t error = OpenContainer(path);
    nextFit_ = kFirstChunkOffset;
    return SetError(error);
}

bool CTGIffFile::IsWritable()
{
    return file_.IsWritable();
}

bool CTGIffFile::IsOpen()
{
    return file_.IsOpen();
}

void CTGIffFile::GetFilePath(std::string& path)
{
    SetError(file_.GetPath(path));
    if (lastError_ != kResOk)
        path.clear();
}

// ---------------------------------------------------------------------------
// 2. Reading operations

int16_t CTGIffFile::CountTypes()
{
    if (!Enter())
        return 0;
    return static_cast<int16_t>(std::min<size_t>(index_.groups.size(), INT16_MAX));
}

ResType CTGIffFile::GetIndType(int32_t index)
{
    if (!Enter())
        return 0;
    if (index < 1 || static_cast<size_t>(index) > index_.groups.size()) {
        SetError(kErrTypeIndexRange);
        return 0;
    }
    return index_.groups[static_cast<size_t>(index) - 1].type;
}

int16_t CTGIffFile::CountResources(ResType type)
{
    if (!Enter())
        return 0;
    const IffTypeGroup* group = index_.FindGroup(type);
    return group ? static_cast<int16_t>(std::min<size_t>(group->entries.size(), INT16_MAX)) : 0;
}

CTGIffFile::Found CTGIffFile::FindById(ResType type, int32_t id, uint8_t attribute)
{
    IffTypeGroup* group = index_.FindGroup(type);
    if (!group)
        return {};
    auto match = [&](uint8_t attr) -> IffEntry* {
        for (IffEntry& entry : group->entries)
            if (entry.id == id && entry.Attribute() == attr)
                return &entry;
        return nullptr;
    };
    IffEntry* entry = attribute != 0 ? match(attribute) : nullptr;
    if (!entry)
        entry = match(0);
    return entry ? Found{group, entry} : Found{};
}

CTGIffFile::Found CTGIffFile::FindHandle(const ResHandle* handle)
{
    if (!handle)
        return {};
    for (IffTypeGroup& group : index_.groups)
        for (IffEntry& entry : group.entries)
            if (entry.data == handle)
                return {&group, &entry};
    return {};
}

ResHandle* CTGIffFile::Load(IffTypeGroup& group, IffEntry& entry, ConvertProc convert)
{
    if (entry.data)
        return entry.data;
    if (!entry.IsWritten()) {
        SetError(kErrNoSuchResource);
        return nullptr;
    }
    ChunkHeader header;
    int32_t error = ReadChunkHeader(entry.offset, header);
    if (error != kResOk) {
        SetError(error);
        return nullptr;
    }
    if (header.type != group.type || !header.SizeValid()) {
        SetError(kErrChunkMismatch);
        return nullptr;
    }
    // A chunk that claims more bytes than the file holds cannot load: say so
    // before allocating what it claims.
    uint64_t fileSize = 0;
    if (file_.GetEOF(fileSize) != kResOk || header.size > fileSize || entry.offset > fileSize - header.size) {
        SetError(kErrShortRead);
        return nullptr;
    }
    ResHandle* data = ResHandle::Create(header.DataLength());
    if (!data) {
        SetError(kErrNoCompactionMemory);
        return nullptr;
    }
    error = file_.ReadAt(uint64_t{entry.offset} + kChunkHeaderSize, data->Data(), data->Size());
    if (error != kResOk) {
        ResHandle::Dispose(data);
        SetError(error);
        return nullptr;
    }
    const ConvertProc proc = convert ? convert : group.convert;
    if (!(entry.diskFlags & kChunkFlagConverted) && proc) {
        proc(data->Data(), data->Size());
        entry.memFlags |= kChunkFlagConverted;
    }
    entry.data = data;
    return data;
}

ResHandle* CTGIffFile::GetResource(ResType type, int16_t id, ConvertProc convert)
{
    return GetResourceEx(type, id, 0, convert);
}

ResHandle* CTGIffFile::GetResourceEx(ResType type, int16_t id, uint8_t attribute, ConvertProc convert)
{
    if (!Enter())
        return nullptr;
    if (IffTypeGroup* group = index_.FindGroup(type); group && convert)
        group->convert = convert;
    Found found = FindById(type, id, attribute);
    if (!found) {
        SetError(kErrNoSuchResource);
        return nullptr;
    }
    return Load(*found.group, *found.entry, convert);
}

ResHandle* CTGIffFile::GetNamedResource(ResType type, std::string_view name, ConvertProc convert)
{
    if (!Enter())
        return nullptr;
    if (IffTypeGroup* group = index_.FindGroup(type)) {
        if (convert)
            group->convert = convert;
        for (IffEntry& entry : group->entries)
            if (entry.Attribute() == 0 && entry.label == name)
                return Load(*group, entry, convert);
    }
    SetError(kErrNoSuchName);
    return nullptr;
}

ResHandle* CTGIffFile::GetIndResource(ResType type, int32_t index, ConvertProc convert)
{
    if (!Enter())
        return nullptr;
    IffTypeGroup* group = index_.FindGroup(type);
    if (!group || index < 1 || static_cast<size_t>(index) > group->entries.size()) {
        SetError(kErrNoSuchResource);
        return nullptr;
    }
    if (convert)
        group->convert = convert;
    return Load(*group, group->entries[static_cast<size_t>(index) - 1], convert);
}

void CTGIffFile::GetResName(ResHandle* handle, std::string& name)
{
    name.clear();
    if (!Enter())
        return;
    if (Found found = FindHandle(handle))
        name = found.entry->label;
    else
        SetError(kErrNoSuchResource);
}

ResType CTGIffFile::GetResType(ResHandle* handle)
{
    if (!Enter())
        return 0;
    if (Found found = FindHandle(handle))
        return found.group->type;
    SetError(kErrNoSuchResource);
    return 0;
}

void CTGIffFile::GetResId(ResHandle* handle, int16_t& id)
{
    if (!Enter())
        return;
    if (Found found = FindHandle(handle))
        id = static_cast<int16_t>(found.entry->id);
    else
        SetError(kErrNoSuchResource);
}

uint8_t CTGIffFile::GetResAttr(ResHandle* handle)
{
    if (!Enter())
        return 0;
    if (Found found = FindHandle(handle))
        return found.entry->Attribute();
    SetError(kErrNoSuchResource);
    return 0;
}

bool CTGIffFile::IsConverted(ResHandle* handle)
{
    if (!Enter())
        return true;
    if (Found found = FindHandle(handle))
        return (found.entry->memFlags & kChunkFlagConverted) != 0;
    SetError(kErrNoSuchName);
    return true;
}

int16_t CTGIffFile::UniqueId(ResType type)
{
    if (!Enter())
        return 0;
    const IffTypeGroup* group = index_.FindGroup(type);
    int32_t largest = 128;
    if (group)
        for (const IffEntry& entry : group->entries)
            largest = std::max<int32_t>(largest, static_cast<int16_t>(entry.id));
    if (largest < INT16_MAX)
        return static_cast<int16_t>(largest + 1);
    // 1 + 32767 would wrap to an id that may be taken: hand out the lowest free one instead.
    for (int32_t candidate = 129; candidate <= INT16_MAX; ++candidate)
        if (std::none_of(group->entries.begin(), group->entries.end(),
                         [&](const IffEntry& e) { return static_cast<int16_t>(e.id) == candidate; }))
            return static_cast<int16_t>(candidate);
    return 0;
}

void CTGIffFile::MakeUniqueName(ResType type, std::string& name)
{
    if (!Enter())
        return;
    const IffTypeGroup* group = index_.FindGroup(type);
    if (!group)
        return;
    auto taken = [&](const std::string& candidate) {
        return std::any_of(group->entries.begin(), group->entries.end(),
                           [&](const IffEntry& e) { return e.Attribute() == 0 && e.label == candidate; });
    };
    const std::string base = name;
    for (uint32_t n = 0; taken(name); ++n)
        name = base + std::to_string(n);
}

// ---------------------------------------------------------------------------
// 3. Writing operations

int32_t CTGIffFile::CreateContainer(std::string_view path)
{
    SetError(kResOk);
    if (file_.IsOpen())
        return SetError(kErrAlreadyOpen);
    CTGFile file;
    int32_t error = file.Create(path);
    if (error != kResOk)
        return SetError(error);
    error = file.Open(path);
    if (error == kResOk) {
        const IffHeaderBytes header = MakeIffHeader(0);
        error = file.WriteAt(0, header.data(), kIffHeaderSize);
        if (error == kResOk)
            error = file.Flush();
        file.Close();
    }
    // A file without its header could never be opened: leave nothing behind.
    if (error != kResOk)
        static_cast<void>(file.Delete(path)); // the first error is the one to report
    return SetError(error);
}

int32_t CTGIffFile::DeleteContainer(std::string_view path)
{
    SetError(kResOk);
    if (file_.IsOpen())
        return SetError(kErrAlreadyOpen);
    CTGFile file;
    return SetError(file.Delete(path));
}

void CTGIffFile::RemoveEntry(IffTypeGroup* group, IffEntry* entry)
{
    group->entries.erase(group->entries.begin() + (entry - group->entries.data()));
    if (group->entries.empty())
        index_.groups.erase(index_.groups.begin() + (group - index_.groups.data()));
}

int32_t CTGIffFile::AddResource(ResHandle* handle, ResType type, int16_t id, std::string_view name,
                                ResConverted converted)
{
    return AddResourceEx(handle, type, id, name, 0, converted);
}

int32_t CTGIffFile::AddResourceEx(ResHandle* handle, ResType type, int16_t id, std::string_view name,
                                  uint8_t attribute, ResConverted converted)
{
    if (!Enter())
        return lastError_;
    if (!file_.IsWritable())
        return SetError(kErrNotWritable);
    if (!handle)
        return SetError(kErrNoSuchName);

    IffEntry* entry = nullptr;
    Found found = FindById(type, id, attribute);
    // Only an entry with exactly this attribute is replaced; the attribute-0
    // fallback of lookups must not swallow a differently tagged resource.
    if (found && found.entry->Attribute() == attribute) {
        entry = found.entry;
        if (entry->data == handle)
            entry->data = nullptr;
        if (entry->IsWritten()) {
            const int32_t error = LetGoOfChunk(type, *entry);
            if (error != kResOk)
                return SetError(error);
        }
        ResHandle::Dispose(entry->data);
        entry->data = nullptr;
        const int32_t error = file_.Flush();
        if (error != kResOk)
            return SetError(error);
    } else {
        IffTypeGroup* group = index_.FindGroup(type);
        if (!group) {
            index_.groups.push_back({type, nullptr, {}});
            group = &index_.groups.back();
        }
        group->entries.emplace_back();
        entry = &group->entries.back();
    }
    entry->id = id;
    entry->memFlags = static_cast<uint16_t>((converted == ResConverted::Yes ? kChunkFlagConverted : 0) |
                                            (uint16_t{attribute} << 8));
    entry->diskFlags = 0;
    entry->data = handle;
    entry->label = std::string(name.substr(0, kMaxLabelLength));
    entry->offset = kUnwrittenOffset;
    return SetError(kResOk);
}

int32_t CTGIffFile::WriteResource(ResHandle* handle)
{
    if (!Enter())
        return lastError_;
    if (!file_.IsWritable())
        return SetError(kErrNotWritable);
    Found found = FindHandle(handle);
    if (!found)
        return SetError(kErrNoSuchName);
    const ResType type = found.group->type;
    IffEntry& entry = *found.entry;
    const uint32_t length = handle->Size();
    if (length > kChunkMaxSize - kChunkHeaderSize)
        return SetError(kErrShortWrite);

    if (const int32_t error = PrepareClaims(); error != kResOk)
        return SetError(error);

    // Reuse the chunk in place when the size is unchanged; otherwise the new
    // chunk is complete before the old one is freed.
    uint64_t offset = 0;
    const std::optional<uint32_t> previous = entry.IsWritten() ? std::optional(entry.offset) : std::nullopt;
    bool freePrevious = false;
    bool inPlace = false;
    if (previous) {
        ChunkHeader old;
        const int32_t error = ReadChunkHeader(*previous, old);
        if (error != kResOk)
            return SetError(error);
        // A chunk that is not this resource's alone (a stale map, a chunk
        // listed twice or lying inside another) must be neither freed nor
        // overwritten.
        const bool ours = old.type == type && !(old.flags & kChunkFlagFree) && old.SizeValid() &&
                          claims_.OnceEach(*previous, uint64_t{*previous} + kChunkHeaderSize);
        if (ours && old.size == length + kChunkHeaderSize && claims_.OnceEach(*previous, uint64_t{*previous} + old.size)) {
            inPlace = true;
            offset = *previous;
        } else {
            freePrevious = ours;
        }
    }
    if (!inPlace) {
        const int32_t error = AllocateChunk(length, offset);
        if (error != kResOk)
            return SetError(error);
    }

    ChunkHeader header;
    header.type = type;
    header.size = length + kChunkHeaderSize;
    header.id = static_cast<int16_t>(entry.id);
    header.flags = entry.memFlags;
    header.label = entry.label;
    // Data first, header last: until the header says otherwise the chunk is a
    // free one (or, in place, the same resource with its old data).
    int32_t error = file_.WriteAt(offset + kChunkHeaderSize, handle->Data(), length);
    if (error == kResOk)
        error = WriteChunkHeader(offset, header);
    if (error != kResOk)
        return SetError(error);
    entry.offset = static_cast<uint32_t>(offset);
    entry.diskFlags = entry.memFlags;
    // A scanned label may hold 64 characters; the chunk now holds 63, and so must the index.
    if (entry.label.size() > kMaxLabelLength)
        entry.label.resize(kMaxLabelLength);
    if (!inPlace) {
        claims_.ClaimForEntry(type, entry.offset, offset + header.size);
        if (freePrevious) {
            error = FreeChunk(*previous);
            if (error != kResOk)
                return SetError(error);
        }
        if (previous)
            claims_.ReleaseEntry(type, *previous, freePrevious ? ClaimRelease::FreeBytes : ClaimRelease::KeepBytes);
    }
    return SetError(file_.Flush());
}

int32_t CTGIffFile::RemoveResource(ResHandle* handle)
{
    if (!Enter())
        return lastError_;
    if (!file_.IsWritable())
        return SetError(kErrNotWritable);
    Found found = FindHandle(handle);
    if (!found)
        return SetError(kErrNoSuchName);
    if (found.entry->IsWritten()) {
        const int32_t error = LetGoOfChunk(found.group->type, *found.entry);
        if (error != kResOk)
            return SetError(error);
    }
    ResHandle::Dispose(found.entry->data);
    RemoveEntry(found.group, found.entry);
    return SetError(file_.Flush());
}

int32_t CTGIffFile::DetachResource(ResHandle* handle)
{
    if (!Enter())
        return lastError_;
    Found found = FindHandle(handle);
    if (!found)
        return SetError(kErrNoSuchName);
    if (!found.entry->IsWritten()) {
        const int32_t error = WriteResource(handle);
        if (error != kResOk)
            return error;
        found = FindHandle(handle);
    }
    found.entry->data = nullptr;
    found.entry->memFlags = found.entry->diskFlags;
    return SetError(kResOk);
}

int32_t CTGIffFile::SetResInfo(ResHandle* handle, int16_t id, std::string_view name, int32_t)
{
    if (!Enter())
        return lastError_;
    Found found = FindHandle(handle);
    if (!found)
        return SetError(kErrNoSuchName);
    IffEntry& entry = *found.entry;
    const std::string label(name.substr(0, kMaxLabelLength));
    if (entry.id == id && entry.label == label)
        return SetError(kResOk);
    if (entry.IsWritten() && !file_.IsWritable())
        return SetError(kErrNotWritable);
    entry.id = id;
    entry.label = label;
    if (!entry.IsWritten())
        return SetError(kResOk);
    ChunkHeader header;
    int32_t error = ReadChunkHeader(entry.offset, header);
    if (error == kResOk)
        error = PrepareClaims();
    if (error != kResOk)
        return SetError(error);
    // A header shared with another claim (a chunk listed twice, a resource
    // inside another's header) stays as it is: the new id and name are kept
    // in the index and reach the file with the map.
    if (header.type != found.group->type || !header.SizeValid() ||
        !claims_.OnceEach(entry.offset, uint64_t{entry.offset} + kChunkHeaderSize)) {
        changed_ = true;
        return SetError(kResOk);
    }
    header.id = id;
    header.label = label;
    error = WriteChunkHeader(entry.offset, header);
    if (error == kResOk)
        error = file_.Flush();
    return SetError(error);
}

int32_t CTGIffFile::UpdateContainer()
{
    if (!Enter())
        return lastError_;
    if (!file_.IsWritable())
        return SetError(kErrNotWritable);
    int32_t first = kResOk;
    // Collect first: writing never reorders the index, but keep the walk independent of it.
    std::vector<ResHandle*> unwritten;
    for (auto group = index_.groups.rbegin(); group != index_.groups.rend(); ++group)
        for (auto entry = group->entries.rbegin(); entry != group->entries.rend(); ++entry)
            if (!entry->IsWritten() && entry->data)
                unwritten.push_back(entry->data);
    for (ResHandle* handle : unwritten) {
        const int32_t error = WriteResource(handle);
        if (first == kResOk)
            first = error;
    }
    const int32_t flushed = file_.Flush();
    return SetError(first != kResOk ? first : flushed);
}

// ---------------------------------------------------------------------------
// 4. Space management

int32_t CTGIffFile::PrepareClaims()
{
    if (claimsReady_)
        return kResOk;
    claims_.Clear();
    uint64_t fileSize = 0;
    int32_t error = file_.GetEOF(fileSize);
    if (error != kResOk)
        return error;

    struct Link {
        uint32_t offset;
        uint32_t size;
        ResType type;
        bool markedFree;
    };
    std::vector<Link> chain;
    uint64_t offset = kFirstChunkOffset;
    ChunkHeader header;
    while (offset <= UINT32_MAX - kChunkHeaderSize && ReadChunkHeader(offset, header) == kResOk && header.SizeValid()) {
        chain.push_back({static_cast<uint32_t>(offset), header.size, header.type, header.MarkedFree()});
        offset += header.size;
    }
    // A last chunk cut short reaches past the file; nothing else may.
    const uint64_t limit = std::max(fileSize, offset);

    for (const IffTypeGroup& group : index_.groups)
        for (const IffEntry& entry : group.entries) {
            if (!entry.IsWritten() || entry.offset >= limit)
                continue;
            const auto link = std::lower_bound(chain.begin(), chain.end(), entry.offset,
                                               [](const Link& l, uint32_t at) { return l.offset < at; });
            bool readable = link != chain.end() && link->offset == entry.offset;
            if (readable) {
                header.type = link->type;
                header.size = link->size;
            } else {
                readable = ReadChunkHeader(entry.offset, header) == kResOk && header.SizeValid();
            }
            // A resource claims its chunk; an entry whose header is another's
            // still claims that header, so nothing is written over it.
            const uint64_t end = uint64_t{entry.offset} + (readable && header.type == group.type ? header.size
                                                                                             : kChunkHeaderSize);
            claims_.ClaimForEntry(group.type, entry.offset, std::min(end, limit));
        }
    // Live chunks the index does not list (a map that left them out, a chunk
    // flagged free under another type) are left as they are. A stale map is
    // not a resource: compaction drops it.
    for (const Link& link : chain)
        if (!link.markedFree && link.type != kTypeMap && !claims_.HasEntry(link.type, link.offset))
            claims_.ClaimForSession(link.offset, uint64_t{link.offset} + link.size);
    claimsReady_ = true;
    return kResOk;
}

bool CTGIffFile::IsFreeSpace(uint64_t offset, const ChunkHeader& header) const
{
    return header.SizeValid() && header.MarkedFree() && !claims_.AnyIn(offset, offset + header.size);
}

uint32_t CTGIffFile::CountFreeSpace()
{
    uint64_t total = 0;
    uint64_t offset = kFirstChunkOffset;
    ChunkHeader header;
    while (offset <= UINT32_MAX - kChunkHeaderSize && ReadChunkHeader(offset, header) == kResOk && header.SizeValid()) {
        if (IsFreeSpace(offset, header))
            total += header.size;
        offset += header.size;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(total, UINT32_MAX));
}

int32_t CTGIffFile::RewriteFileHeader(uint32_t mapOffset)
{
    if (mapOffset_ != 0) {
        // The old map goes first, so the file never holds two live maps.
        const uint32_t oldMap = mapOffset_;
        mapOffset_ = 0;
        ChunkHeader old;
        int32_t error = PrepareClaims();
        if (error == kResOk)
            error = ReadChunkHeader(oldMap, old);
        // Free it only when it really is a live map (the offset came from the
        // file) and no resource lies on its header.
        if (error == kResOk && old.type == kTypeMap && !(old.flags & kChunkFlagFree) && old.SizeValid() &&
            !claims_.AnyIn(oldMap, uint64_t{oldMap} + kChunkHeaderSize))
            error = FreeChunk(oldMap);
        else
            error = kResOk;
        mapOffset_ = oldMap;
        if (error != kResOk)
            return error;
    }
    const IffHeaderBytes header = MakeIffHeader(mapOffset);
    int32_t error = file_.WriteAt(0, header.data(), kIffHeaderSize);
    if (error == kResOk)
        error = file_.Flush();
    if (error != kResOk)
        return error;
    mapOffset_ = mapOffset;
    changed_ = true;
    version_ = kIffVersion25;
    return kResOk;
}

int32_t CTGIffFile::WriteChunkHeader(uint64_t offset, const ChunkHeader& header)
{
    changed_ = true;
    if (mapOffset_ != 0) {
        const int32_t error = RewriteFileHeader(0);
        if (error != kResOk)
            return error;
    }
    const ChunkHeaderBytes bytes = EncodeChunkHeader(header);
    return file_.WriteAt(offset, bytes.data(), kChunkHeaderSize);
}

int32_t CTGIffFile::LetGoOfChunk(ResType type, const IffEntry& entry)
{
    int32_t error = PrepareClaims();
    if (error != kResOk)
        return error;
    ChunkHeader header;
    error = ReadChunkHeader(entry.offset, header);
    if (error != kResOk)
        return error;
    // A stale map can point at another resource's chunk, a damaged one can
    // list a chunk twice or inside another: such a chunk lives on.
    if (header.type != type || (header.flags & kChunkFlagFree) || !header.SizeValid() ||
        !claims_.OnceEach(entry.offset, uint64_t{entry.offset} + kChunkHeaderSize)) {
        claims_.ReleaseEntry(type, entry.offset, ClaimRelease::KeepBytes);
        changed_ = true; // nothing written, but the map must no longer list the entry
        return kResOk;
    }
    error = FreeChunk(entry.offset);
    if (error == kResOk)
        claims_.ReleaseEntry(type, entry.offset, ClaimRelease::FreeBytes);
    return error;
}

int32_t CTGIffFile::FreeChunk(uint64_t offset)
{
    ChunkHeader header;
    int32_t error = ReadChunkHeader(offset, header);
    if (error != kResOk)
        return error;
    if (header.flags & kChunkFlagFree)
        return kResOk; // already free: counting it twice would corrupt the total
    header.flags |= kChunkFlagFree;
    header.type = kTypeFree;
    error = WriteChunkHeader(offset, header);
    if (error == kResOk)
        index_.freeBytes = header.size > UINT32_MAX - index_.freeBytes ? UINT32_MAX : index_.freeBytes + header.size;
    return error;
}

int32_t CTGIffFile::AllocateChunk(uint32_t dataLength, uint64_t& offset)
{
    const uint32_t need = dataLength + kChunkHeaderSize;
    changed_ = true;
    int32_t error = PrepareClaims();
    if (error != kResOk)
        return error;
    if (mapOffset_ != 0) {
        error = RewriteFileHeader(0);
        if (error != kResOk)
            return error;
    }
    uint64_t fileSize = 0;
    error = file_.GetEOF(fileSize);
    if (error != kResOk)
        return error;

    uint64_t position = nextFit_ > 0 ? static_cast<uint64_t>(nextFit_) : kFirstChunkOffset;
    bool brokenChain = false;
    ChunkHeader header;
    while (position <= UINT32_MAX - kChunkHeaderSize && ReadChunkHeader(position, header) == kResOk) {
        if (!header.SizeValid()) {
            brokenChain = true;
            break;
        }
        nextFit_ = static_cast<int64_t>(position);
        if (IsFreeSpace(position, header)) {
            // Merge every directly following free chunk into this one.
            bool merged = false;
            ChunkHeader next;
            while (position + header.size <= UINT32_MAX - kChunkHeaderSize &&
                   ReadChunkHeader(position + header.size, next) == kResOk &&
                   IsFreeSpace(position + header.size, next) && uint64_t{header.size} + next.size <= kChunkMaxSize) {
                header.size += next.size;
                merged = true;
            }
            if (merged) {
                error = WriteChunkHeader(position, header);
                if (error != kResOk)
                    return error;
            }
            if (header.size == need) {
                index_.freeBytes -= std::min(index_.freeBytes, need);
                offset = position;
                return kResOk;
            }
            if (header.size >= need + kChunkHeaderSize) {
                // Tail first: if the second write fails, the old header still
                // spans both and the chain stays intact.
                ChunkHeader tail;
                tail.type = kTypeFree;
                tail.size = header.size - need;
                tail.flags = kChunkFlagFree;
                error = WriteChunkHeader(position + need, tail);
                if (error != kResOk)
                    return error;
                header.size = need;
                error = WriteChunkHeader(position, header);
                if (error != kResOk)
                    return error;
                index_.freeBytes -= std::min(index_.freeBytes, need);
                offset = position;
                return kResOk;
            }
        }
        position += header.size;
    }
    // Append. Behind a damaged chunk header the bytes may still belong to
    // resources found through the map: never write there, go to the end.
    if (brokenChain)
        position = std::max(position, fileSize);
    // Nor over a resource that reaches past the chain's end (a map pointing
    // into the bytes behind it).
    position = std::max(position, claims_.End());
    if (position > UINT32_MAX - need)
        return kErrShortWrite;
    // The last chunk claims more than the file holds (a writer died while
    // appending it): grow the file to its claimed end so the chain stays whole.
    if (position > fileSize) {
        error = file_.SetEOF(position);
        if (error != kResOk)
            return error;
    }
    ChunkHeader fresh;
    fresh.type = kTypeFree;
    fresh.size = need;
    fresh.flags = kChunkFlagFree;
    error = WriteChunkHeader(position, fresh);
    if (error != kResOk)
        return error;
    nextFit_ = static_cast<int64_t>(position);
    offset = position;
    return kResOk;
}

int32_t CTGIffFile::Compact()
{
    // The live chunks are copied, in order, into a new file beside this one,
    // which then replaces it. Moving chunks inside the file itself would leave
    // a broken chain (and lost resources) if the process died half-way.
    std::string path;
    int32_t error = file_.GetPath(path);
    if (error != kResOk)
        return error;
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kCopyBufferSize]);
    if (!buffer)
        return kErrNoCompactionMemory;
    error = PrepareClaims();
    if (error != kResOk)
        return error;

    FileReplacement replacement(path);
    CTGFile out;
    error = out.Create(replacement.StagingPath());
    if (error == kResOk)
        error = out.Open(replacement.StagingPath());
    if (error != kResOk)
        return error;
    auto abandon = [&](int32_t why) {
        out.Close();
        replacement.Abandon();
        return why;
    };

    const IffHeaderBytes fileHeader = MakeIffHeader(0);
    error = out.WriteAt(0, fileHeader.data(), kIffHeaderSize);
    if (error != kResOk)
        return abandon(error);

    uint64_t sourceSize = 0;
    error = file_.GetEOF(sourceSize);
    if (error != kResOk)
        return abandon(error);
    std::vector<std::pair<uint32_t, uint32_t>> moved; // old offset → new offset
    uint64_t source = kFirstChunkOffset;
    uint64_t target = kFirstChunkOffset;
    ChunkHeader header;
    while (source <= UINT32_MAX - kChunkHeaderSize && ReadChunkHeader(source, header) == kResOk &&
           header.SizeValid()) {
        if (source + header.size > sourceSize)
            return abandon(kResOk); // cut short: nothing to copy whole, the file stays as it is
        // Free space and stale maps are dropped; a chunk anything claims is kept whatever its header says.
        const bool dropped =
            (header.MarkedFree() || header.type == kTypeMap) && !claims_.AnyIn(source, source + header.size);
        if (!dropped) {
            for (uint32_t done = 0; done < header.size;) {
                const uint32_t piece = std::min(kCopyBufferSize, header.size - done);
                error = file_.ReadAt(source + done, buffer.get(), piece);
                if (error == kResOk)
                    error = out.WriteAt(target + done, buffer.get(), piece);
                if (error != kResOk)
                    return abandon(error);
                done += piece;
            }
            moved.emplace_back(static_cast<uint32_t>(source), static_cast<uint32_t>(target));
            target += header.size;
        }
        source += header.size;
    }
    // Behind a damaged chunk header lie bytes the walk cannot place, among
    // them every chunk appended since the file was opened (the allocation
    // goes to the end of the file then): compacting would drop them.
    if (source <= UINT32_MAX - kChunkHeaderSize && ReadChunkHeader(source, header) == kResOk && !header.SizeValid())
        return abandon(kResOk);
    // A damaged chunk header ends the walk; resources the map placed behind
    // it would be lost by the copy. Such a file is left as it is.
    std::sort(moved.begin(), moved.end());
    for (const IffTypeGroup& group : index_.groups)
        for (const IffEntry& entry : group.entries)
            if (entry.IsWritten() && group.type != kTypeMap &&
                !std::binary_search(moved.begin(), moved.end(), std::make_pair(entry.offset, uint32_t{0}),
                                    [](const auto& a, const auto& b) { return a.first < b.first; }))
                return abandon(kResOk);

    error = out.Close();
    if (error == kResOk)
        error = replacement.Commit();
    if (error != kResOk)
        return error;
    file_.Close();
    error = file_.Open(path);
    if (error != kResOk)
        return error;
    file_.DeferSync(syncAtClose_);

    for (IffTypeGroup& group : index_.groups)
        for (IffEntry& entry : group.entries) {
            auto it = std::lower_bound(moved.begin(), moved.end(), std::make_pair(entry.offset, uint32_t{0}));
            if (it != moved.end() && it->first == entry.offset)
                entry.offset = it->second;
        }
    nextFit_ = -1;
    index_.freeBytes = 0;
    mapOffset_ = 0;
    claims_.Clear();
    claimsReady_ = false;
    return kResOk;
}

// ---------------------------------------------------------------------------
// 5. Close of a changed container and the map rewrite

int32_t CTGIffFile::SyncOnlyAtClose()
{
    if (!Enter())
        return lastError_;
    syncAtClose_ = true;
    file_.DeferSync(true);
    return SetError(kResOk);
}

int32_t CTGIffFile::CompactOnClose()
{
    if (!Enter())
        return lastError_;
    if (!file_.IsWritable())
        return SetError(kErrNotWritable);
    compactOnClose_ = true;
    return SetError(kResOk);
}

int32_t CTGIffFile::WriteMap()
{
    index_.RemoveGroup(kTypeMap);
    ResourceMapRecord record(index_);
    ResHandle* map = CTGRecord::Write(record, kMapRecordVersion);
    if (!map)
        return kErrNoCompactionMemory;
    int32_t error = AddResource(map, kTypeMap, 0, {}, ResConverted::Yes);
    if (error != kResOk) {
        ResHandle::Dispose(map);
        return error;
    }
    const uint32_t serializedFree = index_.freeBytes;
    error = WriteResource(map);
    // Placing the map may have taken free space: store the final total (same size, so in place).
    if (error == kResOk && index_.freeBytes != serializedFree) {
        ByteSpanWriter total(map->Bytes());
        total.seek(kRecordPrefixSize); // the total is the record's first field
        total.u32le(index_.freeBytes);
        error = WriteResource(map);
    }
    if (error != kResOk)
        return error;
    const Found found = FindHandle(map);
    return RewriteFileHeader(found.entry->offset);
}

bool CTGIffFile::HasUnwritten() const
{
    return std::any_of(index_.groups.begin(), index_.groups.end(), [](const IffTypeGroup& g) {
        return std::any_of(g.entries.begin(), g.entries.end(), [](const IffEntry& e) { return !e.IsWritten(); });
    });
}

int32_t CTGIffFile::CommitContainer()
{
    if (!Enter())
        return lastError_;
    if (!changed_ && !HasUnwritten())
        return SetError(kResOk);
    if (!file_.IsWritable())
        return SetError(kErrNotWritable);
    int32_t error = UpdateContainer();
    // Counted afresh, as at close.
    if (error == kResOk)
        error = PrepareClaims();
    if (error == kResOk) {
        index_.freeBytes = CountFreeSpace();
        error = WriteMap();
    }
    if (error != kResOk)
        return SetError(error);
    // As just opened through the new map: the map is no resource, and the
    // claims are built anew at the next change (which frees this map).
    for (IffTypeGroup& group : index_.groups)
        if (group.type == kTypeMap)
            for (IffEntry& entry : group.entries) {
                ResHandle::Dispose(entry.data);
                entry.data = nullptr;
            }
    index_.RemoveGroup(kTypeMap);
    claims_.Clear();
    claimsReady_ = false;
    nextFit_ = -1;
    changed_ = false;
    source_ = IndexSource::Map;
    return SetError(kResOk);
}

int32_t CTGIffFile::CloseContainer()
{
    if (!Enter())
        return lastError_;
    int32_t error = kResOk;
    const bool writable = file_.IsWritable();
    // Resources added but never written count as changes too: closing must
    // not silently drop them.
    const bool unwritten = HasUnwritten();
    if (writable && (changed_ || unwritten))
        error = UpdateContainer();
    if (compactOnClose_ && writable && !changed_)
        error = RewriteFileHeader(0); // the map is rewritten after compaction
    // Counted afresh by the rule allocation follows: what a damaged map
    // claims to be free is no measure.
    if (error == kResOk && writable && changed_) {
        error = PrepareClaims();
        if (error == kResOk)
            index_.freeBytes = CountFreeSpace();
    }
    if (error == kResOk && writable && mapOffset_ == 0 && changed_ &&
        (index_.freeBytes >= kCompactThreshold || compactOnClose_))
        error = Compact();
    compactOnClose_ = false;
    if (error == kResOk && writable && changed_)
        error = WriteMap();
    if (syncAtClose_ && file_.IsOpen()) {
        const int32_t synced = file_.Sync();
        if (error == kResOk)
            error = synced;
        syncAtClose_ = false;
    }
    ReleaseAll();
    claims_.Clear();
    claimsReady_ = false;
    changed_ = false;
    mapOffset_ = 0;
    nextFit_ = -1;
    source_ = IndexSource::None;
    const int32_t closed = file_.IsOpen() ? file_.Close() : kResOk;
    return SetError(error != kResOk ? error : closed);
}

} // namespace zelvane
