#include "scene/DecodedImage.h"

namespace zelvane {

std::string CheckImageSize(std::int64_t width, std::int64_t height)
{
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width < 1 || height < 1)
        return "the picture is " + size + " pixels";
    if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels)
        return "the picture's size, " + size + " pixels, is larger than zelvane reads";
    return {};
}

} // namespace zelvane
