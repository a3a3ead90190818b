#include "app/cli/PngOutput.h"

#include "pngio/PngCodec.h"

namespace zelvane::cli {

PngImage ToPngImage(const PlainImage& image, const PlainImage* alpha)
{
    PngImage png;
    if (image.IsNull())
        return png;
    if (alpha && (alpha->Width() != image.Width() || alpha->Height() != image.Height()))
        alpha = nullptr;
    png.width = static_cast<uint32_t>(image.Width());
    png.height = static_cast<uint32_t>(image.Height());
    png.channels = alpha ? PngChannels::Rgba : PngChannels::Rgb;
    png.pixels.reserve(png.RowBytes() * png.height);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const Rgb c = image.PixelColour(x, y);
            png.pixels.insert(png.pixels.end(), {c.red, c.green, c.blue});
            if (alpha)
                png.pixels.push_back(alpha->PixelByte(x, y));
        }
    return png;
}

bool WritePng(const std::string& path, const PlainImage& image, const PlainImage* alpha, std::string& error)
{
    return WritePngFile(path, ToPngImage(image, alpha), error);
}

} // namespace zelvane::cli
