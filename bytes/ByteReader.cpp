#include "bytes/ByteReader.h"

#include <bit>
#include <cstring>

namespace zelvane {

std::span<const uint8_t> ByteReader::bytes(size_t n)
{
    if (!take(n))
        return {};
    return bytes_.subspan(pos_ - n, n);
}

bool ByteReader::seek(size_t position)
{
    if (!ok_ || position > bytes_.size()) {
        ok_ = false;
        return false;
    }
    pos_ = position;
    return true;
}

ByteReader ByteReader::sub(size_t offset, size_t length) const
{
    if (offset > bytes_.size() || length > bytes_.size() - offset) {
        ByteReader failed;
        failed.ok_ = false;
        return failed;
    }
    return ByteReader(bytes_.subspan(offset, length));
}

ByteReader ByteReader::take_sub(size_t length)
{
    ByteReader result = sub(pos_, length);
    if (result.ok())
        pos_ += length;
    else
        ok_ = false;
    return result;
}

std::string ByteReader::cstring(size_t maxLength)
{
    if (!ok_)
        return {};
    const size_t limit = maxLength < remaining() ? maxLength : remaining();
    const uint8_t* start = bytes_.data() + pos_;
    const void* zero = std::memchr(start, 0, limit);
    const size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - start) : limit;
    pos_ += length + (zero ? 1 : 0);
    return std::string(reinterpret_cast<const char*>(start), length);
}

} // namespace zelvane
