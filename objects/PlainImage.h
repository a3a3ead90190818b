#pragma once
// Our own image type, laid out as a device-independent bitmap so it can be
// written as one without conversion: width × height pixels of 1 to 4 bytes,
// rows padded to 4 bytes and stored bottom row first, an optional palette for
// 8-bit images. Pixels of 3 and 4 bytes hold blue, green, red (and a fourth
// byte) in that order, as bitmaps do, unless the image says its channels are
// in red-green-blue order (as OpenGL takes textures). Converted to QImage or
// PNG only at the edges.

#include "objects/Palette.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zelvane {

// The order of the colour bytes in pixels of 3 and 4 bytes.
enum class ChannelOrder { Bgr, Rgb };

class PlainImage {
public:
    // Larger images are refused by the code that sizes them from file data.
    static constexpr int kMaxSide = 32768;

    // The null image: no pixels.
    PlainImage() = default;
    // width × height pixels of `bytesPerPixel` (1 to 4) bytes, every byte
    // `fill`. Sides must be 1 to kMaxSide (a programming error otherwise).
    PlainImage(int width, int height, int bytesPerPixel, uint8_t fill = 0);

    [[nodiscard]] bool IsNull() const { return width_ == 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BytesPerPixel() const { return bytesPerPixel_; }
    // Bytes from one stored row to the next: a multiple of 4.
    size_t Stride() const { return stride_; }

    // Row y counted from the top, without its padding.
    std::span<uint8_t> Row(int y);
    std::span<const uint8_t> Row(int y) const;
    // All rows as stored: bottom row first, each padded.
    std::span<uint8_t> Bits() { return bits_; }
    std::span<const uint8_t> Bits() const { return bits_; }

    ChannelOrder Order() const { return order_; }
    // Says in which order the colour bytes are; the bytes stay as they are.
    void SetOrder(ChannelOrder order) { order_ = order; }

    // The colour of pixel (x, y) from the top left: through the palette for
    // 8-bit images (grey when there is none), the stored bytes otherwise.
    Rgb PixelColour(int x, int y) const;
    // The first byte of pixel (x, y): the index of an 8-bit image.
    uint8_t PixelByte(int x, int y) const { return Row(y)[static_cast<size_t>(x) * bytesPerPixel_]; }

    const std::shared_ptr<const Palette>& GetPalette() const { return palette_; }
    void SetPalette(std::shared_ptr<const Palette> palette) { palette_ = std::move(palette); }

    // A copy of width × height pixels, each taken from the nearest source
    // pixel (the one under its centre); keeps the palette and the channel
    // order. Null when this image is null.
    PlainImage Resampled(int width, int height) const;

private:
    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 0;
    size_t stride_ = 0;
    std::vector<uint8_t> bits_;
    std::shared_ptr<const Palette> palette_;
    ChannelOrder order_ = ChannelOrder::Bgr;
};

} // namespace zelvane
