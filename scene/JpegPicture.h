#pragma once
// JPEG pictures as textures come in (the textures of imported models),
// decoded by libjpeg-turbo through its TurboJPEG interface, which reports
// every failure as a result (no jumps out of the decoder), within the image
// layer's size limits.

#include "scene/DecodedImage.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

// The picture of a JPEG file, 3 bytes per pixel red-green-blue. Fails with
// libjpeg-turbo's reason for damaged or truncated data (a warning counts as
// a failure), for colour spaces it cannot turn into RGB, for progressive
// files of absurdly many scans, and for sizes past
// kMaxImageSide/kMaxImagePixels before the pixels are allocated.
DecodedImage DecodeJpegPicture(std::span<const std::uint8_t> file);

// A baseline JPEG of `image` (3 or 4 bytes per pixel; alpha dropped) at
// `quality` 1 to 100, for tests and fixtures. Empty when it cannot be made.
std::vector<std::uint8_t> EncodeJpeg(const PlainImage& image, int quality);

} // namespace zelvane
