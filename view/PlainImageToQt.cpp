#include "view/PlainImageToQt.h"

#include <cstring>

namespace zelvane {

QImage ToQImage(const PlainImage& image)
{
    if (image.IsNull())
        return {};
    const int width = image.Width();
    const int height = image.Height();
    if (image.BytesPerPixel() == 3) {
        QImage result(width, height,
                      image.Order() == ChannelOrder::Bgr ? QImage::Format_BGR888 : QImage::Format_RGB888);
        for (int y = 0; y < height; ++y)
            std::memcpy(result.scanLine(y), image.Row(y).data(), static_cast<size_t>(width) * 3);
        return result;
    }
    QImage result(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const Rgb colour = image.PixelColour(x, y);
            line[x] = qRgb(colour.red, colour.green, colour.blue);
        }
    }
    return result;
}

} // namespace zelvane
