#include "scene/PngPicture.h"

#include "pngio/PngCodec.h"

#include <new>
#include <string>

namespace zelvane {

DecodedImage DecodePngPicture(std::span<const std::uint8_t> file)
{
    PngImage png;
    std::string error;
    const auto sizeCheck = [](std::uint32_t width, std::uint32_t height) {
        return CheckImageSize(width, height);
    };
    try {
        if (!DecodePng(file, png, error, std::nullopt, sizeCheck))
            return DecodedImage::Failure("not a PNG picture zelvane reads: " + error);
    } catch (const std::bad_alloc&) {
        return DecodedImage::Failure("no memory for the PNG picture");
    }
    const bool alpha = png.channels == PngChannels::Rgba || png.channels == PngChannels::GreyAlpha;
    const bool grey = png.channels == PngChannels::Grey || png.channels == PngChannels::GreyAlpha;
    const auto channels = static_cast<std::size_t>(png.channels);
    const int width = static_cast<int>(png.width);
    const int height = static_cast<int>(png.height);
    PlainImage image(width, height, alpha ? 4 : 3);
    image.SetOrder(ChannelOrder::Rgb);
    for (int y = 0; y < height; ++y) {
        const std::span<std::uint8_t> row = image.Row(y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* in = png.Pixel(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
            std::uint8_t* out = row.data() + static_cast<std::size_t>(x) * (alpha ? 4 : 3);
            out[0] = in[0];
            out[1] = grey ? in[0] : in[1];
            out[2] = grey ? in[0] : in[2];
            if (alpha)
                out[3] = in[channels - 1];
        }
    }
    return {std::move(image), {}};
}

} // namespace zelvane
