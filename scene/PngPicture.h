#pragma once
// PNG pictures as textures come in (the textures of imported models): read
// through the PNG layer's one libpng reader, within the image layer's size
// limits, into the picture type the other decoders give.

#include "scene/DecodedImage.h"

#include <cstdint>
#include <span>

namespace zelvane {

// The picture of a PNG file: 3 bytes per pixel red-green-blue, or 4 with
// alpha when the file has any (grey pictures become grey colours; palettes
// and 16-bit channels are expanded and reduced by libpng). Fails with
// libpng's reason for damaged files, and for sizes past
// kMaxImageSide/kMaxImagePixels before the pixels are allocated.
DecodedImage DecodePngPicture(std::span<const std::uint8_t> file);

} // namespace zelvane
