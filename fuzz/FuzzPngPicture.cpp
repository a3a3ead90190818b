// Decodes arbitrary bytes as the PNG texture of a model (DecodePngPicture:
// the PNG layer's reader within the image layer's limits): a picture has
// the header's size, RGB or RGBA pixels and becomes a power-of-two texture
// (see FuzzImage.h); a failure says why.

#include "fuzz/FuzzImage.h"
#include "fuzz/FuzzSupport.h"
#include "scene/PngPicture.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zelvane;
    const DecodedImage decoded = DecodePngPicture(std::span<const uint8_t>(data, size));
    // The header's size: big-endian words at 16 and 20 of the IHDR chunk.
    const auto word = [&](size_t at) {
        return size >= at + 4 ? static_cast<int>((uint32_t{data[at]} << 24 | uint32_t{data[at + 1]} << 16 |
                                                  uint32_t{data[at + 2]} << 8 | data[at + 3]) &
                                                 0x7FFFFFFF)
                              : 0;
    };
    fuzz::CheckDecodedImage(decoded, word(16), word(20));
    fuzz::Check(decoded.ok() || !decoded.error.empty(), "a failure says why");
    fuzz::Check(!decoded.ok() || decoded.image.BytesPerPixel() >= 3, "colour pixels");
    return 0;
}
