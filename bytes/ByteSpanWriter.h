#pragma once
// Writes values into a fixed block of bytes at a cursor: the in-place twin of
// ByteWriter, for records that already exist (a definition's fields, a
// behaviour's operands, a record stream's block).
//
// Like ByteReader, failure is sticky: a write that does not fit marks the
// writer as failed and writes nothing, nor does any write after it. Callers
// write a whole record and test ok() once.

#include "bytes/ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zelvane {

class ByteSpanWriter {
public:
    explicit ByteSpanWriter(std::span<uint8_t> bytes) : bytes_(bytes) {}

    [[nodiscard]] bool ok() const { return ok_; }
    [[nodiscard]] size_t position() const { return pos_; }
    [[nodiscard]] size_t remaining() const { return bytes_.size() - pos_; }

    void u8(uint8_t v) { put(v, 1, ByteOrder::Little); }
    void u16le(uint16_t v) { put(v, 2, ByteOrder::Little); }
    void u16be(uint16_t v) { put(v, 2, ByteOrder::Big); }
    void u32le(uint32_t v) { put(v, 4, ByteOrder::Little); }
    void u32be(uint32_t v) { put(v, 4, ByteOrder::Big); }
    void u16(uint16_t v, ByteOrder order) { put(v, 2, order); }
    void u32(uint32_t v, ByteOrder order) { put(v, 4, order); }
    void bytes(std::span<const uint8_t> data);
    void text(std::string_view s);
    // Moves to an absolute position; positions past the end fail (answers ok()).
    bool seek(size_t position);

private:
    // Inline: scene files and sprites write millions of values through here.
    std::span<uint8_t> claim(size_t n)
    {
        if (!ok_ || n > remaining()) {
            ok_ = false;
            return {};
        }
        pos_ += n;
        return bytes_.subspan(pos_ - n, n);
    }
    void put(uint32_t v, size_t n, ByteOrder order)
    {
        if (const std::span<uint8_t> out = claim(n); !out.empty())
            byte_order::Store(out, v, order);
    }

    std::span<uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace zelvane
