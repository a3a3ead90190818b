#include "bytes/ByteSpanWriter.h"

#include <algorithm>

namespace zelvane {

std::span<uint8_t> ByteSpanWriter::claim(size_t n)
{
    if (!ok_ || n > remaining()) {
        ok_ = false;
        return {};
    }
    pos_ += n;
    return bytes_.subspan(pos_ - n, n);
}

void ByteSpanWriter::put(uint32_t v, size_t n, ByteOrder order)
{
    if (const std::span<uint8_t> out = claim(n); !out.empty())
        byte_order::Store(out, v, order);
}

void ByteSpanWriter::bytes(std::span<const uint8_t> data)
{
    const std::span<uint8_t> out = claim(data.size());
    std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(out.size()), out.begin());
}

void ByteSpanWriter::text(std::string_view s)
{
    const std::span<uint8_t> out = claim(s.size());
    std::copy(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(out.size()), out.begin());
}

bool ByteSpanWriter::seek(size_t position)
{
    if (!ok_ || position > bytes_.size()) {
        ok_ = false;
        return false;
    }
    pos_ = position;
    return true;
}

} // namespace zelvane
