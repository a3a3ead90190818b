#pragma once
// Truevision Targa files (.tga) as textures come in: colour-mapped (type 1),
// true-colour (type 2) and run-length true-colour (type 10) pictures, their
// colours passed through a gamma table.

#include "scene/DecodedImage.h"
#include "scene/TextureMaths.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

// Byte layout of the 18-byte header (little-endian).
namespace tga_layout {
inline constexpr std::size_t kHeaderSize = 18;
inline constexpr std::size_t kIdLengthPos = 0;
inline constexpr std::size_t kColourMapTypePos = 1;
inline constexpr std::size_t kImageTypePos = 2;
inline constexpr std::size_t kColourMapLengthPos = 5;
inline constexpr std::size_t kColourMapEntrySizePos = 7;
inline constexpr std::size_t kWidthPos = 12;
inline constexpr std::size_t kHeightPos = 14;
inline constexpr std::size_t kPixelDepthPos = 16;
inline constexpr std::size_t kDescriptorPos = 17;
inline constexpr std::uint8_t kColourMapped = 1;
inline constexpr std::uint8_t kTrueColour = 2;
inline constexpr std::uint8_t kRunLengthTrueColour = 10;
// Image descriptor bits: the first stored row is the top one; the first
// stored column is the right one.
inline constexpr std::uint8_t kTopOrigin = 0x20;
inline constexpr std::uint8_t kRightOrigin = 0x10;
inline constexpr std::size_t kMaxColourMapLength = 256;
inline constexpr int kMaxSide = 0xFFFF;
inline constexpr int kMaxPacketPixels = 128;
} // namespace tga_layout

// The picture of a Targa file, colours through `gamma` (alpha as stored):
// 24- and 32-bit pixels give 3 or 4 bytes per pixel in red-green-blue(-alpha)
// order; a colour-mapped picture gives 8-bit indices with the map as palette.
// Fails with what is wrong for other image types, colour map types and
// depths, colour maps of more than 256 entries, sizes past
// kMaxImageSide/kMaxImagePixels (before anything is allocated), and data that
// ends before the picture does.
DecodedImage DecodeTarga(std::span<const std::uint8_t> file, const GammaTable& gamma);

// An uncompressed 24-bit Targa file of `image` (type 2, no identification or
// colour map, rows bottom up, blue-green-red; 8-bit images through their
// palette, any alpha dropped). Empty for a null image or one with a side
// longer than the format's 65535.
std::vector<std::uint8_t> EncodeTarga(const PlainImage& image);

} // namespace zelvane
