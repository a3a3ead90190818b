#include "resfile/IffLayout.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"

#include <algorithm>
#include <string_view>

namespace zelvane {

namespace {

// "*" marks the version digits and the map offset, which vary.
constexpr std::string_view kHeaderPattern("IFF FILE *.*:TYPE FOLLOWED BY SIZE\0 KORVENTHALIXAN & MAXIS 1****", 64);
static_assert(kHeaderPattern.size() == kIffHeaderSize);

bool IsWildcardByte(uint32_t i)
{
    return i == kIffMajorDigitPos || i == kIffMinorDigitPos || i >= kIffMapOffsetPos ||
           (i >= kIffMakerNamePos && i < kIffMakerNamePos + kIffMakerNameLength);
}

} // namespace

IffHeaderBytes MakeIffHeader(uint32_t mapOffset)
{
    IffHeaderBytes bytes{};
    std::copy(kHeaderPattern.begin(), kHeaderPattern.end(), bytes.begin());
    bytes[kIffMajorDigitPos] = '2';
    bytes[kIffMinorDigitPos] = '5';
    ByteSpanWriter out(bytes);
    out.seek(kIffMapOffsetPos);
    out.u32be(mapOffset);
    return bytes;
}

bool ParseIffHeader(std::span<const uint8_t, kIffHeaderSize> bytes, IffHeaderInfo& info)
{
    for (uint32_t i = 0; i < kIffHeaderSize; ++i)
        if (!IsWildcardByte(i) && bytes[i] != static_cast<uint8_t>(kHeaderPattern[i]))
            return false;
    const int major = bytes[kIffMajorDigitPos] - '0';
    const int minor = bytes[kIffMinorDigitPos] - '0';
    const int version = major * 256 + minor;
    if (version == kIffVersion20) {
        info = {kIffVersion20, 0};
        return true;
    }
    if (version == kIffVersion25) {
        ByteReader reader(bytes);
        reader.skip(kIffMapOffsetPos);
        info = {kIffVersion25, reader.u32be()};
        return true;
    }
    return false;
}

ChunkHeader ParseChunkHeader(std::span<const uint8_t, kChunkHeaderSize> bytes)
{
    ByteReader reader(bytes);
    ChunkHeader header;
    header.type = reader.u32be();
    header.size = reader.u32be();
    header.id = static_cast<int16_t>(reader.u16be());
    header.flags = reader.u16be();
    header.label = reader.cstring(kChunkLabelSize);
    return header;
}

ChunkHeaderBytes EncodeChunkHeader(const ChunkHeader& header)
{
    ChunkHeaderBytes bytes{};
    ByteSpanWriter out(bytes);
    out.u32be(header.type);
    out.u32be(header.size);
    out.u16be(static_cast<uint16_t>(header.id));
    out.u16be(header.flags);
    const size_t length = std::min<size_t>(header.label.size(), kMaxLabelLength);
    out.text(std::string_view(header.label).substr(0, length));
    return bytes;
}

} // namespace zelvane
