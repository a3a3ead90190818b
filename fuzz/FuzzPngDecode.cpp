// Fuzz target: reading a PNG through the PNG layer, as stored and converted
// to every channel layout. A decoded image must hold exactly its pixels.

#include "fuzz/FuzzSupport.h"
#include "pngio/PngCodec.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

using namespace zelvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> png(data, size);
    for (int convert = 0; convert <= 4; ++convert) {
        PngImage image;
        std::string error;
        const std::optional<PngChannels> to =
            convert == 0 ? std::nullopt : std::optional<PngChannels>(static_cast<PngChannels>(convert));
        if (!DecodePng(png, image, error, to)) {
            fuzz::Check(!error.empty(), "a PNG that does not decode says why");
            fuzz::Check(image.pixels.empty(), "a PNG that does not decode leaves no pixels");
            continue;
        }
        fuzz::Check(image.width > 0 && image.height > 0, "a decoded PNG has pixels");
        fuzz::Check(uint64_t{image.width} * image.height <= kMaxPngPixels, "a decoded PNG is within the limit");
        fuzz::Check(image.pixels.size() == image.RowBytes() * image.height, "a decoded PNG holds exactly its pixels");
        fuzz::Check(!to || image.channels == *to, "a decoded PNG has the channels asked for");
    }
    return 0;
}
