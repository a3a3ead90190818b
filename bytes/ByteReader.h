#pragma once
// A bounds-checked cursor over untrusted bytes.
//
// Every read checks what remains; a read that does not fit marks the reader as
// failed, yields zeros and leaves the position where it was. Callers read a
// whole record and test ok() once, which keeps parsers short without ever
// touching memory outside the span.

#include "bytes/ByteOrder.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelvane {

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    [[nodiscard]] bool ok() const { return ok_; }
    [[nodiscard]] size_t position() const { return pos_; }
    [[nodiscard]] size_t size() const { return bytes_.size(); }
    [[nodiscard]] size_t remaining() const { return bytes_.size() - pos_; }

    uint8_t u8() { return take(1) ? bytes_[pos_ - 1] : 0; }
    uint16_t u16le() { return u16(ByteOrder::Little); }
    uint16_t u16be() { return u16(ByteOrder::Big); }
    uint32_t u32le() { return u32(ByteOrder::Little); }
    uint32_t u32be() { return u32(ByteOrder::Big); }
    int16_t i16le() { return static_cast<int16_t>(u16le()); }
    int32_t i32le() { return static_cast<int32_t>(u32le()); }
    float f32le() { return std::bit_cast<float>(u32le()); }
    // For formats that say at run time which order they were written in.
    uint16_t u16(ByteOrder order) { return static_cast<uint16_t>(scalar(2, order)); }
    uint32_t u32(ByteOrder order) { return static_cast<uint32_t>(scalar(4, order)); }

    // The next n bytes, or an empty span (and failure) when fewer remain.
    std::span<const uint8_t> bytes(size_t n);
    // Both answer ok() afterwards; callers that test ok() at the end of a
    // record may ignore it.
    bool skip(size_t n) { return take(n); }
    // Moves to an absolute position; positions past the end fail.
    bool seek(size_t position);

    // A reader limited to [offset, offset + length) of this one (absolute
    // offsets); an out-of-range request gives a failed, empty reader.
    [[nodiscard]] ByteReader sub(size_t offset, size_t length) const;
    // A reader over the next `length` bytes; this reader moves past them.
    ByteReader take_sub(size_t length);

    // Text up to the first 0 byte within at most maxLength bytes; the
    // terminator (when present within the limit) is consumed. Missing
    // terminators are not an error: the text simply ends at the limit.
    std::string cstring(size_t maxLength);

    void fail() { ok_ = false; }

private:
    // Inline: mesh and image readers take millions of values through here.
    bool take(size_t n)
    {
        if (!ok_ || n > remaining()) {
            ok_ = false;
            return false;
        }
        pos_ += n;
        return true;
    }
    uint64_t scalar(size_t n, ByteOrder order)
    {
        if (!take(n))
            return 0;
        return byte_order::Load(bytes_.subspan(pos_ - n, n), order);
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace zelvane
