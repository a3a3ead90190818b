#pragma once
// Builds a whole IFF object file in memory in one go: header, chunks in the
// order given, optional free chunks and an optional resource map at the end.
// For tools that generate files and for test fixtures; editing existing
// files goes through CTGIffFile.

#include "resfile/IffLayout.h"
#include "resfile/ResType.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelvane {

class IffBuilder {
public:
    // Adds a resource chunk; returns its file offset.
    uint32_t AddChunk(ResType type, int16_t id, std::string_view label, std::span<const uint8_t> data,
                      uint16_t flags = kChunkFlagConverted);
    // Adds a free chunk of `size` bytes in all (header included, at least 76).
    uint32_t AddFreeChunk(uint32_t size);
    // Lists a resource in the map at any offset, such as a chunk written into
    // another chunk's data (for fixtures of damaged files).
    void ListInMap(ResType type, int16_t id, std::string_view label, uint32_t offset,
                   uint16_t flags = kChunkFlagConverted);

    enum class Map { None, Written };
    // The finished file. With Map::Written, an 'rsmp' chunk listing every
    // resource is appended and the header points at it.
    std::vector<uint8_t> Build(Map map) const;

private:
    struct Chunk {
        ChunkHeader header;
        uint32_t offset = 0;
        std::vector<uint8_t> data;
    };
    std::vector<Chunk> chunks_;
    std::vector<Chunk> listedOnly_; // map entries without a chunk of their own
    uint32_t end_ = kIffHeaderSize;
    uint32_t freeBytes_ = 0;
};

} // namespace zelvane
