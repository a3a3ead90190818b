#include "bytes/ByteWriter.h"

#include <bit>
#include <cstring>
#include <stdexcept>

namespace zelvane {

void ByteWriter::put(uint32_t v, size_t n, ByteOrder order)
{
    const size_t at = bytes_.size();
    bytes_.resize(at + n);
    byte_order::Store(std::span(bytes_).subspan(at, n), v, order);
}

void ByteWriter::f32le(float v)
{
    u32le(std::bit_cast<uint32_t>(v));
}

void ByteWriter::patch(size_t at, uint32_t v, ByteOrder order)
{
    if (at > bytes_.size() || bytes_.size() - at < 4)
        throw std::out_of_range("ByteWriter: patch beyond the written bytes");
    byte_order::Store(std::span(bytes_).subspan(at, 4), v, order);
}

void ByteWriter::append(const void* data, size_t size)
{
    if (size == 0)
        return;
    const size_t at = bytes_.size();
    bytes_.resize(at + size);
    std::memcpy(bytes_.data() + at, data, size);
}

} // namespace zelvane
