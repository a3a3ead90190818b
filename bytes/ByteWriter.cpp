#include "bytes/ByteWriter.h"

#include <cstring>

namespace zelvane {

void ByteWriter::put(uint32_t v, int n, bool bigEndian)
{
    for (int i = 0; i < n; ++i) {
        const int shift = bigEndian ? (n - 1 - i) * 8 : i * 8;
        bytes_.push_back(static_cast<uint8_t>(v >> shift));
    }
}

void ByteWriter::append(const void* data, size_t size)
{
    if (size == 0)
        return;
    const size_t at = bytes_.size();
    bytes_.resize(at + size);
    std::memcpy(bytes_.data() + at, data, size);
}

void ByteWriter::patch_u32be(size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes_.at(at + i) = static_cast<uint8_t>(v >> (24 - 8 * i));
}

void ByteWriter::patch_u32le(size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes_.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace zelvane
