#pragma once
// Our plain images written as PNG files, the way the command-line tool shows
// previews and sprite planes.

#include "objects/PlainImage.h"
#include "pngio/PngImage.h"

#include <string>

namespace zelvane::cli {

// RGB (8-bit images through their palette, or grey without one); with
// `alpha` (an 8-bit image of the same size, such as a mask) RGBA taking its
// alpha from it. An alpha image of another size is ignored.
PngImage ToPngImage(const PlainImage& image, const PlainImage* alpha = nullptr);

// ToPngImage written to `path`; false with the reason in `error`.
[[nodiscard]] bool WritePng(const std::string& path, const PlainImage& image, const PlainImage* alpha,
                            std::string& error);

} // namespace zelvane::cli
