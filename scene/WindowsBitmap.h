#pragma once
// Windows bitmap files (.bmp): our own bounds-checked reader for every variant
// textures come in, and a writer for the ones zelvane makes.
//
// Read: the core (12-byte) header and the info headers of 40, 52, 56, 108 and
// 124 bytes; 1, 4 and 8 bits through a colour table of at most 256 entries;
// 16 and 32 bits plain or with bit fields; 24 bits; run-length 8- and 4-bit
// data; rows stored bottom-up or (negative height) top-down.

#include "scene/DecodedImage.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

// Byte layout of the headers (little-endian).
namespace bmp_layout {
inline constexpr std::uint16_t kSignature = 0x4D42; // "BM"
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kPixelOffsetPos = 10;
inline constexpr std::uint32_t kCoreHeaderSize = 12;
inline constexpr std::uint32_t kInfoHeaderSize = 40;
inline constexpr std::uint32_t kV2HeaderSize = 52; // with red, green and blue masks
inline constexpr std::uint32_t kV3HeaderSize = 56; // and the alpha mask
inline constexpr std::uint32_t kV4HeaderSize = 108;
inline constexpr std::uint32_t kV5HeaderSize = 124;
inline constexpr std::uint32_t kRgb = 0;
inline constexpr std::uint32_t kRle8 = 1;
inline constexpr std::uint32_t kRle4 = 2;
inline constexpr std::uint32_t kBitFields = 3;
inline constexpr std::uint32_t kAlphaBitFields = 6;
inline constexpr std::size_t kMaxColours = 256;
} // namespace bmp_layout

// The picture of a bitmap file: 8-bit with its colour table as palette for 1,
// 4 and 8 bits (pixels no run of a run-length file reaches take index 0),
// else 24-bit blue-green-red. Any alpha is dropped. Fails with what is wrong
// for truncated data, sizes larger than kMaxImageSide/kMaxImagePixels,
// colour tables longer than 256 entries, and variants it does not read.
DecodedImage DecodeWindowsBitmap(std::span<const std::uint8_t> file);

// A bitmap file of `image`: 8-bit with its palette (grey without one), or 24-
// or 32-bit, bottom-up, uncompressed, with a 40-byte info header.
std::vector<std::uint8_t> EncodeWindowsBitmap(const PlainImage& image);

} // namespace zelvane
