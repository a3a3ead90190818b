#include "objects/PlainImage.h"

#include <cassert>
#include <cstring>

namespace zelvane {

PlainImage::PlainImage(int width, int height, int bytesPerPixel, uint8_t fill)
{
    assert(width >= 1 && width <= kMaxSide && height >= 1 && height <= kMaxSide);
    assert(bytesPerPixel >= 1 && bytesPerPixel <= 4);
    width_ = width;
    height_ = height;
    bytesPerPixel_ = bytesPerPixel;
    stride_ = (static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel) + 3) & ~size_t{3};
    bits_.assign(stride_ * static_cast<size_t>(height), fill);
}

std::span<uint8_t> PlainImage::Row(int y)
{
    assert(y >= 0 && y < height_);
    return std::span<uint8_t>(bits_).subspan(static_cast<size_t>(height_ - 1 - y) * stride_,
                                             static_cast<size_t>(width_) * bytesPerPixel_);
}

std::span<const uint8_t> PlainImage::Row(int y) const
{
    assert(y >= 0 && y < height_);
    return std::span<const uint8_t>(bits_).subspan(static_cast<size_t>(height_ - 1 - y) * stride_,
                                                   static_cast<size_t>(width_) * bytesPerPixel_);
}

Rgb PlainImage::PixelColour(int x, int y) const
{
    const std::span<const uint8_t> pixel = Row(y).subspan(static_cast<size_t>(x) * bytesPerPixel_);
    if (bytesPerPixel_ >= 3)
        return order_ == ChannelOrder::Bgr ? Rgb{pixel[2], pixel[1], pixel[0]} : Rgb{pixel[0], pixel[1], pixel[2]};
    if (palette_)
        return (*palette_)[pixel[0]];
    return {pixel[0], pixel[0], pixel[0]};
}

PlainImage PlainImage::Resampled(int width, int height) const
{
    if (IsNull())
        return {};
    PlainImage result(width, height, bytesPerPixel_);
    result.palette_ = palette_;
    result.order_ = order_;
    const size_t bpp = static_cast<size_t>(bytesPerPixel_);
    // Source column of each target column, once: (2x + 1) * sw / (2 * dw)
    // is the source pixel under the target pixel's centre.
    std::vector<size_t> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<size_t>(x)] =
            static_cast<size_t>((2 * int64_t{x} + 1) * width_ / (2 * int64_t{width})) * bpp;
    for (int y = 0; y < height; ++y) {
        const int sourceY = static_cast<int>((2 * int64_t{y} + 1) * height_ / (2 * int64_t{height}));
        const std::span<const uint8_t> source = Row(sourceY);
        std::span<uint8_t> target = result.Row(y);
        for (size_t x = 0; x < columns.size(); ++x)
            std::memcpy(&target[x * bpp], &source[columns[x]], bpp);
    }
    return result;
}

} // namespace zelvane
