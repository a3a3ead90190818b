#pragma once
// What the image decoders give: the picture at its own size, or why not.

#include "objects/PlainImage.h"

#include <cstdint>
#include <string>

namespace zelvane {

// Pictures larger than this are refused before anything is allocated: a
// texture is at most 1024 × 1024 in the end, and run-length data can claim
// any size in a few bytes.
inline constexpr int kMaxImageSide = PlainImage::kMaxSide;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 25;

struct DecodedImage {
    // 8-bit with a palette, or 3 or 4 bytes per pixel (4: the fourth is alpha).
    PlainImage image;
    // Empty when decoding succeeded; otherwise what was wrong and where.
    std::string error;

    bool ok() const { return error.empty(); }
    bool HasAlpha() const { return image.BytesPerPixel() == 4; }

    static DecodedImage Failure(std::string why) { return {PlainImage(), std::move(why)}; }
};

// The size check every decoder makes before it allocates: an error text, or
// empty when width × height is a picture we accept.
std::string CheckImageSize(std::int64_t width, std::int64_t height);

} // namespace zelvane
