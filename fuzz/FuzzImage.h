#pragma once
// What the image fuzz targets check besides the sanitizers: a decoded picture
// has the size and layout the decoder promises, and becomes a texture of
// power-of-two sides.

#include "scene/DecodedImage.h"

namespace zelvane::fuzz {

// `width` and `height` are what the header said.
void CheckDecodedImage(const DecodedImage& decoded, int width, int height);

} // namespace zelvane::fuzz
