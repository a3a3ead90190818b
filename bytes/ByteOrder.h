#pragma once
// The two byte orders of the formats we read and write, and the one place
// where values become bytes and bytes values. IFF file and chunk headers are
// big-endian; resource bodies, FAR archives and records little-endian (a
// record says by its mark which). Only the cursors (ByteReader, ByteWriter,
// ByteSpanWriter) call Load and Store; everything else goes through them.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zelvane {

enum class ByteOrder { Little, Big };

namespace byte_order {

// The value held in `bytes` (at most 8 of them) in `order`.
constexpr uint64_t Load(std::span<const uint8_t> bytes, ByteOrder order)
{
    uint64_t value = 0;
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t shift = order == ByteOrder::Big ? (n - 1 - i) * 8 : i * 8;
        value |= static_cast<uint64_t>(bytes[i]) << shift;
    }
    return value;
}

// Stores the low bytes of `value` into `out` (at most 8) in `order`.
constexpr void Store(std::span<uint8_t> out, uint64_t value, ByteOrder order)
{
    const size_t n = out.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t shift = order == ByteOrder::Big ? (n - 1 - i) * 8 : i * 8;
        out[i] = static_cast<uint8_t>(value >> shift);
    }
}

} // namespace byte_order

} // namespace zelvane
