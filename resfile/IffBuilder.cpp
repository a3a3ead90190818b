#include "resfile/IffBuilder.h"

#include "resfile/CTGRecord.h"
#include "resfile/IffIndex.h"
#include "resfile/ResourceMapRecord.h"

#include <memory>

namespace zelvane {

uint32_t IffBuilder::AddChunk(ResType type, int16_t id, std::string_view label, std::span<const uint8_t> data,
                              uint16_t flags)
{
    Chunk chunk;
    chunk.header.type = type;
    chunk.header.size = static_cast<uint32_t>(data.size()) + kChunkHeaderSize;
    chunk.header.id = id;
    chunk.header.flags = flags;
    chunk.header.label = std::string(label.substr(0, kMaxLabelLength));
    chunk.offset = end_;
    chunk.data.assign(data.begin(), data.end());
    end_ += chunk.header.size;
    chunks_.push_back(std::move(chunk));
    return chunks_.back().offset;
}

uint32_t IffBuilder::AddFreeChunk(uint32_t size)
{
    Chunk chunk;
    chunk.header.type = kTypeFree;
    chunk.header.size = size < kChunkHeaderSize ? kChunkHeaderSize : size;
    chunk.header.flags = kChunkFlagFree;
    chunk.offset = end_;
    chunk.data.assign(chunk.header.size - kChunkHeaderSize, 0);
    end_ += chunk.header.size;
    freeBytes_ += chunk.header.size;
    chunks_.push_back(std::move(chunk));
    return chunks_.back().offset;
}

void IffBuilder::ListInMap(ResType type, int16_t id, std::string_view label, uint32_t offset, uint16_t flags)
{
    Chunk listed;
    listed.header.type = type;
    listed.header.id = id;
    listed.header.flags = flags;
    listed.header.label = std::string(label.substr(0, kMaxLabelLength));
    listed.offset = offset;
    listedOnly_.push_back(std::move(listed));
}

std::vector<uint8_t> IffBuilder::Build(Map map) const
{
    std::vector<uint8_t> mapData;
    if (map == Map::Written) {
        IffIndex index;
        index.freeBytes = freeBytes_;
        auto list = [&index](const Chunk& chunk) {
            IffTypeGroup* group = index.FindGroup(chunk.header.type);
            if (!group) {
                index.groups.push_back({chunk.header.type, nullptr, {}});
                group = &index.groups.back();
            }
            IffEntry entry;
            entry.offset = chunk.offset;
            entry.id = chunk.header.id;
            entry.diskFlags = entry.memFlags = chunk.header.flags;
            entry.label = chunk.header.label;
            group->entries.push_back(std::move(entry));
        };
        for (const Chunk& chunk : chunks_)
            if (!(chunk.header.flags & kChunkFlagFree))
                list(chunk);
        for (const Chunk& chunk : listedOnly_)
            list(chunk);
        ResourceMapRecord record(index);
        std::unique_ptr<ResHandle, decltype(&ResHandle::Dispose)> handle(CTGRecord::Write(record, kMapRecordVersion),
                                                                         &ResHandle::Dispose);
        if (handle)
            mapData.assign(handle->Data(), handle->Data() + handle->Size());
    }

    const uint32_t mapOffset = map == Map::Written ? end_ : 0;
    std::vector<uint8_t> file;
    file.reserve(end_ + (mapData.empty() ? 0 : mapData.size() + kChunkHeaderSize));
    const IffHeaderBytes header = MakeIffHeader(mapOffset);
    file.insert(file.end(), header.begin(), header.end());
    for (const Chunk& chunk : chunks_) {
        const ChunkHeaderBytes bytes = EncodeChunkHeader(chunk.header);
        file.insert(file.end(), bytes.begin(), bytes.end());
        file.insert(file.end(), chunk.data.begin(), chunk.data.end());
    }
    if (map == Map::Written) {
        ChunkHeader mapHeader;
        mapHeader.type = kTypeMap;
        mapHeader.size = static_cast<uint32_t>(mapData.size()) + kChunkHeaderSize;
        mapHeader.flags = kChunkFlagConverted;
        const ChunkHeaderBytes bytes = EncodeChunkHeader(mapHeader);
        file.insert(file.end(), bytes.begin(), bytes.end());
        file.insert(file.end(), mapData.begin(), mapData.end());
    }
    return file;
}

} // namespace zelvane
