#pragma once
// Appends little- and big-endian values to a growing byte buffer; the writing
// twin of ByteReader, used by the map encoder and the one-shot file builders.
// To change bytes that already exist in a fixed block, use ByteSpanWriter.

#include "bytes/ByteOrder.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zelvane {

class ByteWriter {
public:
    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16le(uint16_t v) { put(v, 2, ByteOrder::Little); }
    void u16be(uint16_t v) { put(v, 2, ByteOrder::Big); }
    void u32le(uint32_t v) { put(v, 4, ByteOrder::Little); }
    void i32le(int32_t v) { u32le(static_cast<uint32_t>(v)); }
    void f32le(float v);
    void u32be(uint32_t v) { put(v, 4, ByteOrder::Big); }
    void u16(uint16_t v, ByteOrder order) { put(v, 2, order); }
    void u32(uint32_t v, ByteOrder order) { put(v, 4, order); }
    void bytes(std::span<const uint8_t> data) { append(data.data(), data.size()); }
    void text(std::string_view s) { append(s.data(), s.size()); }
    void fill(size_t count, uint8_t value) { bytes_.insert(bytes_.end(), count, value); }

    // Overwrites 4 bytes at an earlier position (for sizes known only later);
    // a position that leaves no room for them throws std::out_of_range.
    void patch_u32be(size_t at, uint32_t v) { patch(at, v, ByteOrder::Big); }
    void patch_u32le(size_t at, uint32_t v) { patch(at, v, ByteOrder::Little); }

    [[nodiscard]] size_t size() const { return bytes_.size(); }
    // Forgets what was written, keeping the buffer's capacity.
    void clear() { bytes_.clear(); }
    [[nodiscard]] const std::vector<uint8_t>& data() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    void append(const void* data, size_t size);
    void put(uint32_t v, size_t n, ByteOrder order);
    void patch(size_t at, uint32_t v, ByteOrder order);
    std::vector<uint8_t> bytes_;
};

} // namespace zelvane
