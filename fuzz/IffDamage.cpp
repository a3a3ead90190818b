#include "fuzz/IffDamage.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"
#include "resfile/CTGRecord.h"
#include "resfile/IffIndex.h"
#include "resfile/IffLayout.h"
#include "resfile/ResourceMapRecord.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace zelvane::fuzz {

namespace {

enum Kind : uint8_t { FlipFlags, MarkFree, LieAboutSize, MoveMapEntry, NestChunk, PointMapOffset, KindCount };

// Nothing is written where the four bytes do not fit.
void PutU32be(std::vector<uint8_t>& file, size_t at, uint32_t value)
{
    ByteSpanWriter out(file);
    out.seek(at);
    out.u32be(value);
}

struct Link {
    uint32_t offset = 0;
    ChunkHeader header;
};

std::optional<ChunkHeader> HeaderAt(const std::vector<uint8_t>& file, uint64_t offset)
{
    ByteReader reader = ByteReader(file).sub(offset, kChunkHeaderSize);
    if (!reader.ok())
        return std::nullopt;
    return ParseChunkHeader(reader.bytes(kChunkHeaderSize).first<kChunkHeaderSize>());
}

void PutHeader(std::vector<uint8_t>& file, uint64_t offset, const ChunkHeader& header)
{
    if (offset > file.size() || file.size() - offset < kChunkHeaderSize)
        return;
    const ChunkHeaderBytes bytes = EncodeChunkHeader(header);
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<ptrdiff_t>(offset));
}

// The chunks a scan walks.
std::vector<Link> Chain(const std::vector<uint8_t>& file)
{
    std::vector<Link> chain;
    uint64_t offset = kIffHeaderSize;
    while (auto header = HeaderAt(file, offset)) {
        if (!header->SizeValid())
            break;
        chain.push_back({static_cast<uint32_t>(offset), *header});
        offset += header->size;
    }
    return chain;
}

struct MapChunk {
    uint32_t offset = 0;
    uint32_t dataLength = 0;
    IffIndex index;
    std::vector<std::pair<ResType, IffEntry*>> entries;
};

std::unique_ptr<MapChunk> ReadMap(const std::vector<uint8_t>& file)
{
    ByteReader reader(file);
    reader.skip(kIffMapOffsetPos);
    const uint32_t at = reader.u32be();
    const auto header = at >= kIffHeaderSize && reader.ok() ? HeaderAt(file, at) : std::nullopt;
    if (!header || header->type != kTypeMap || !header->SizeValid() || header->size > file.size() - at)
        return nullptr;
    auto map = std::make_unique<MapChunk>();
    map->offset = at;
    map->dataLength = header->DataLength();
    std::unique_ptr<ResHandle, decltype(&ResHandle::Dispose)> data(
        ResHandle::CreateFrom(ByteReader(file).sub(at + kChunkHeaderSize, map->dataLength).bytes(map->dataLength)),
        &ResHandle::Dispose);
    ResourceMapRecord record(map->index);
    if (!data || !CTGRecord::Read(record, *data))
        return nullptr;
    for (IffTypeGroup& group : map->index.groups)
        for (IffEntry& entry : group.entries)
            map->entries.emplace_back(group.type, &entry);
    if (map->entries.empty())
        return nullptr;
    return map;
}

// Written back only when it encodes to the same length (it normally does:
// the entries keep their labels).
void WriteMap(std::vector<uint8_t>& file, MapChunk& map)
{
    ResourceMapRecord record(map.index);
    std::unique_ptr<ResHandle, decltype(&ResHandle::Dispose)> data(CTGRecord::Write(record, kMapRecordVersion),
                                                                   &ResHandle::Dispose);
    if (!data || data->Size() != map.dataLength)
        return;
    std::copy(data->Data(), data->Data() + data->Size(),
              file.begin() + static_cast<ptrdiff_t>(map.offset + kChunkHeaderSize));
}

void LieAbout(std::vector<uint8_t>& file, const std::vector<Link>& chain, size_t which, uint8_t how, uint8_t amount)
{
    const Link& link = chain[which];
    uint64_t size = link.header.size;
    switch (how % 4) {
    case 0: // spans the next chunks
        for (size_t next = which + 1; next < chain.size() && next <= which + 1 + amount % 4; ++next)
            size += chain[next].header.size;
        break;
    case 1: size -= std::min<uint64_t>(size, (uint64_t{amount} + 1) * 4); break; // cuts into itself
    case 2: size += (uint64_t{amount} + 1) * 16; break;                          // reaches into the next
    default: size = (amount & 1) ? kChunkMaxSize + 1 + amount : amount % kChunkHeaderSize; break;
    }
    PutU32be(file, link.offset + 4, static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX)));
}

void Nest(std::vector<uint8_t>& file, const std::vector<Link>& chain, const IffDamage::Op& op)
{
    const std::unique_ptr<MapChunk> map = ReadMap(file);
    if (!map)
        return;
    const auto& [type, entry] = map->entries[op.a % map->entries.size()];
    const Link& host = chain[op.b % chain.size()];
    const uint64_t at = uint64_t{host.offset} + kChunkHeaderSize + uint64_t{op.c} * 2;
    const uint64_t hostEnd = std::min<uint64_t>(uint64_t{host.offset} + host.header.size, file.size());
    if (at > hostEnd || hostEnd - at < kChunkHeaderSize)
        return;
    ChunkHeader nested;
    nested.type = type;
    nested.size = static_cast<uint32_t>(hostEnd - at);
    if (op.c & 1) // or only part of the rest
        nested.size = kChunkHeaderSize + (nested.size - kChunkHeaderSize) / 2;
    nested.id = static_cast<int16_t>(entry->id);
    nested.flags = entry->diskFlags;
    nested.label = entry->label.substr(0, kMaxLabelLength);
    PutHeader(file, at, nested);
    entry->offset = static_cast<uint32_t>(at);
    WriteMap(file, *map);
}

} // namespace

void IffDamage::Apply(std::vector<uint8_t>& file, const Op& op)
{
    const std::vector<Link> chain = Chain(file);
    if (chain.empty())
        return;
    const Link& link = chain[op.a % chain.size()];
    switch (op.kind % KindCount) {
    case FlipFlags: {
        ChunkHeader header = link.header;
        header.flags ^= (op.b & 1) ? static_cast<uint16_t>((op.b << 8) | op.c) : kChunkFlagFree;
        PutHeader(file, link.offset, header);
        break;
    }
    case MarkFree: {
        ChunkHeader header = link.header;
        header.type = kTypeFree;
        if (!(op.b & 1))
            header.flags |= kChunkFlagFree;
        PutHeader(file, link.offset, header);
        break;
    }
    case LieAboutSize: LieAbout(file, chain, op.a % chain.size(), op.b, op.c); break;
    case MoveMapEntry: {
        const std::unique_ptr<MapChunk> map = ReadMap(file);
        if (!map)
            break;
        const Link& into = chain[op.b % chain.size()];
        map->entries[op.a % map->entries.size()].second->offset = into.offset + uint32_t{op.c} * 4;
        WriteMap(file, *map);
        break;
    }
    case NestChunk: Nest(file, chain, op); break;
    default: PutU32be(file, kIffMapOffsetPos, (op.b & 1) ? 0 : link.offset); break;
    }
}

} // namespace zelvane::fuzz
