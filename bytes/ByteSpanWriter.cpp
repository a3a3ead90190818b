#include "bytes/ByteSpanWriter.h"

#include <algorithm>

namespace zelvane {

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
