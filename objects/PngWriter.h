#pragma once
// A small PNG writer for looking at our images outside the program (the
// command-line tool, tests): 8-bit RGB or RGBA, the image data in stored
// (uncompressed) deflate blocks, so no compression library is needed.

#include "objects/PlainImage.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelvane {

// The PNG bytes of `image` (8-bit images through their palette, or grey
// without one; rows top first). With `alpha` (an 8-bit image of the same
// size, e.g. a preview mask) the PNG is RGBA and takes its alpha from it;
// an alpha image of another size is ignored.
std::vector<uint8_t> EncodePng(const PlainImage& image, const PlainImage* alpha = nullptr);

// Writes EncodePng's bytes to `path`; false when the image is null or the
// file cannot be written.
bool WritePng(const std::string& path, const PlainImage& image, const PlainImage* alpha = nullptr);

// The checksums PNG uses: CRC-32 (ISO 3309, as in zlib's crc32) and Adler-32.
uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);
uint32_t Adler32(std::span<const uint8_t> bytes, uint32_t adler = 1);

} // namespace zelvane
