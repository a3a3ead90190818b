#pragma once
// An image as PNG files hold it: 8 bits a channel, rows top first and packed
// without padding. The PNG layer knows nothing of the program's own image
// type; whoever writes or reads a PNG converts at the edge.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvane {

enum class PngChannels : uint8_t { Grey = 1, GreyAlpha = 2, Rgb = 3, Rgba = 4 };

struct PngImage {
    uint32_t width = 0;
    uint32_t height = 0;
    PngChannels channels = PngChannels::Rgb;
    std::vector<uint8_t> pixels; // height rows of width × channels bytes

    size_t RowBytes() const { return size_t{width} * static_cast<size_t>(channels); }
    // The channels of pixel (x, y) from the top left; the caller checks the bounds.
    const uint8_t* Pixel(uint32_t x, uint32_t y) const
    {
        return pixels.data() + size_t{y} * RowBytes() + size_t{x} * static_cast<size_t>(channels);
    }
};

} // namespace zelvane
