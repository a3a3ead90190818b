#pragma once
// Byte layout of IFF object files: the 64-byte file header, the 76-byte chunk
// header and the chunk flags. Headers are big-endian.

#include "resfile/ResType.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace zelvane {

inline constexpr uint32_t kIffHeaderSize = 64;
inline constexpr uint32_t kIffMapOffsetPos = 60;
inline constexpr uint32_t kIffMajorDigitPos = 9;
inline constexpr uint32_t kIffMinorDigitPos = 11;
// Real files carry another maker's name here; any bytes are accepted on read.
inline constexpr uint32_t kIffMakerNamePos = 36;
inline constexpr uint32_t kIffMakerNameLength = 14;
inline constexpr uint16_t kIffVersion20 = 0x200;
inline constexpr uint16_t kIffVersion25 = 0x205;

inline constexpr uint32_t kChunkHeaderSize = 76;
inline constexpr uint32_t kChunkMaxSize = 0x40000000;
inline constexpr uint32_t kChunkLabelPos = 12;
inline constexpr uint32_t kChunkLabelSize = 64;
inline constexpr uint32_t kMaxLabelLength = kChunkLabelSize - 1;

inline constexpr uint16_t kChunkFlagFree = 0x0004;
inline constexpr uint16_t kChunkFlagConverted = 0x0010;
inline constexpr uint16_t kChunkAttributeMask = 0xFF00;

// Offset of a resource that exists only in memory.
inline constexpr uint32_t kUnwrittenOffset = 0xFFFFFFFF;

using IffHeaderBytes = std::array<uint8_t, kIffHeaderSize>;
using ChunkHeaderBytes = std::array<uint8_t, kChunkHeaderSize>;

// The header the writer produces: version 2.5 with the given map offset.
IffHeaderBytes MakeIffHeader(uint32_t mapOffset);

struct IffHeaderInfo {
    uint16_t version = 0;
    uint32_t mapOffset = 0; // 0 for version 2.0 and for "no map"
};
// False for anything but a 2.0 or 2.5 header.
[[nodiscard]] bool ParseIffHeader(std::span<const uint8_t, kIffHeaderSize> bytes, IffHeaderInfo& info);

struct ChunkHeader {
    ResType type = 0;
    uint32_t size = 0; // whole chunk, header included
    int16_t id = 0;
    uint16_t flags = 0;
    std::string label;

    bool SizeValid() const { return size >= kChunkHeaderSize && size <= kChunkMaxSize; }
    // The mark of a free chunk is the flag and the type together: either
    // alone is more likely a damaged header than space to reuse.
    bool MarkedFree() const { return (flags & kChunkFlagFree) && type == kTypeFree; }
    uint32_t DataLength() const { return size - kChunkHeaderSize; }
};

ChunkHeader ParseChunkHeader(std::span<const uint8_t, kChunkHeaderSize> bytes);
// The label is cut to 63 characters; byte 75 is always 0.
ChunkHeaderBytes EncodeChunkHeader(const ChunkHeader& header);

} // namespace zelvane
