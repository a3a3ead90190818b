#include "scene/TargaImage.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"

#include <memory>

namespace zelvane {

using namespace tga_layout;

namespace {

struct Header {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntrySize = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t pixelDepth = 0;
    std::uint8_t descriptor = 0;
};

std::string CheckHeader(const Header& h)
{
    const std::string depth = std::to_string(h.pixelDepth) + "-bit";
    switch (h.imageType) {
    case kColourMapped:
        if (h.colourMapType != 1)
            return "a colour-mapped picture without a colour map";
        if (h.colourMapEntrySize != 24 && h.colourMapEntrySize != 32)
            return "colour map entries of " + std::to_string(h.colourMapEntrySize) + " bits";
        if (h.colourMapLength > kMaxColourMapLength)
            return "a colour map of " + std::to_string(h.colourMapLength) + " entries, more than 256";
        if (h.pixelDepth != 8)
            return depth + " indices into a colour map";
        break;
    case kTrueColour:
    case kRunLengthTrueColour:
        if (h.colourMapType != 0)
            return "a colour map in a true-colour picture";
        if (h.pixelDepth != 24 && h.pixelDepth != 32)
            return depth + " true-colour pixels";
        break;
    default:
        return "image type " + std::to_string(h.imageType) + ", not 1, 2 or 10";
    }
    return {};
}

// Where the n-th stored pixel goes: rows bottom first unless the descriptor
// says top first, columns left first unless it says right first.
class PixelPlacer {
public:
    PixelPlacer(const Header& h, PlainImage& image)
        : image_(image), width_(h.width), height_(h.height), bytes_(static_cast<std::size_t>(image.BytesPerPixel())),
          topFirst_(h.descriptor & kTopOrigin), rightFirst_(h.descriptor & kRightOrigin)
    {
    }

    std::int64_t Total() const { return static_cast<std::int64_t>(width_) * height_; }

    std::span<std::uint8_t> At(std::int64_t n)
    {
        const auto fileRow = static_cast<int>(n / width_);
        const auto fileColumn = static_cast<int>(n % width_);
        const int y = topFirst_ ? fileRow : height_ - 1 - fileRow;
        const int x = rightFirst_ ? width_ - 1 - fileColumn : fileColumn;
        return image_.Row(y).subspan(static_cast<std::size_t>(x) * bytes_, bytes_);
    }

private:
    PlainImage& image_;
    int width_;
    int height_;
    std::size_t bytes_;
    bool topFirst_;
    bool rightFirst_;
};

// A stored pixel (blue, green, red, alpha) as red, green, blue through the
// gamma table, and alpha as stored.
void StorePixel(std::span<const std::uint8_t> stored, std::span<std::uint8_t> target, const GammaTable& gamma)
{
    target[0] = gamma[stored[2]];
    target[1] = gamma[stored[1]];
    target[2] = gamma[stored[0]];
    if (target.size() == 4)
        target[3] = stored[3];
}

DecodedImage ReadColourMapped(ByteReader& in, const Header& h, const GammaTable& gamma)
{
    const std::size_t entryBytes = h.colourMapEntrySize / 8;
    auto palette = std::make_shared<Palette>();
    if (h.colourMapLength > in.remaining() / entryBytes)
        return DecodedImage::Failure("the file ends inside its colour map");
    for (std::size_t i = 0; i < h.colourMapLength; ++i) {
        const std::span<const std::uint8_t> entry = in.bytes(entryBytes);
        (*palette)[i] = {gamma[entry[2]], gamma[entry[1]], gamma[entry[0]]};
    }
    const auto pixels = static_cast<std::uint64_t>(h.width) * h.height;
    if (pixels > in.remaining())
        return DecodedImage::Failure("the pixel data is cut short: " + std::to_string(pixels) + " bytes needed, "
                                     + std::to_string(in.remaining()) + " there");
    DecodedImage result{PlainImage(h.width, h.height, 1), {}};
    result.image.SetPalette(std::move(palette));
    PixelPlacer place(h, result.image);
    const std::span<const std::uint8_t> indices = in.bytes(static_cast<std::size_t>(pixels));
    for (std::int64_t n = 0; n < place.Total(); ++n)
        place.At(n)[0] = indices[static_cast<std::size_t>(n)];
    return result;
}

DecodedImage ReadTrueColour(ByteReader& in, const Header& h, const GammaTable& gamma)
{
    const std::size_t bytes = h.pixelDepth / 8;
    const auto pixels = static_cast<std::uint64_t>(h.width) * h.height;
    const bool runLengths = h.imageType == kRunLengthTrueColour;
    // The fewest bytes that could hold the picture: every pixel stored, or
    // one full run packet (a header byte and one pixel) per 128 pixels.
    const std::uint64_t fewest =
        runLengths ? (pixels + kMaxPacketPixels - 1) / kMaxPacketPixels * (1 + bytes) : pixels * bytes;
    if (fewest > in.remaining())
        return DecodedImage::Failure("the pixel data is cut short: at least " + std::to_string(fewest)
                                     + " bytes needed, " + std::to_string(in.remaining()) + " there");

    DecodedImage result{PlainImage(h.width, h.height, static_cast<int>(bytes)), {}};
    result.image.SetOrder(ChannelOrder::Rgb);
    PixelPlacer place(h, result.image);
    const std::int64_t total = place.Total();
    if (!runLengths) {
        for (std::int64_t n = 0; n < total; ++n)
            StorePixel(in.bytes(bytes), place.At(n), gamma);
        return result;
    }
    // Packets run on across the ends of rows; the picture's last pixel ends them.
    for (std::int64_t n = 0; n < total;) {
        const std::uint8_t packet = in.u8();
        const int count = (packet & 0x7F) + 1;
        const bool repeated = packet & 0x80;
        std::span<const std::uint8_t> stored = repeated ? in.bytes(bytes) : std::span<const std::uint8_t>();
        for (int k = 0; k < count && n < total; ++k, ++n) {
            if (!repeated)
                stored = in.bytes(bytes);
            if (!in.ok())
                return DecodedImage::Failure("the run-length data ends at pixel " + std::to_string(n) + " of "
                                             + std::to_string(total));
            StorePixel(stored, place.At(n), gamma);
        }
    }
    return result;
}

} // namespace

DecodedImage DecodeTarga(std::span<const std::uint8_t> file, const GammaTable& gamma)
{
    ByteReader in(file);
    Header h;
    h.idLength = in.u8();
    h.colourMapType = in.u8();
    h.imageType = in.u8();
    in.skip(2); // the first colour map entry is not used
    h.colourMapLength = in.u16le();
    h.colourMapEntrySize = in.u8();
    in.skip(4); // the picture's origin on a screen is not used
    h.width = in.u16le();
    h.height = in.u16le();
    h.pixelDepth = in.u8();
    h.descriptor = in.u8();
    if (!in.ok())
        return DecodedImage::Failure("the file ends inside its 18-byte header");
    if (std::string error = CheckHeader(h); !error.empty())
        return DecodedImage::Failure("the picture has " + error);
    if (std::string error = CheckImageSize(h.width, h.height); !error.empty())
        return DecodedImage::Failure(std::move(error));
    if (!in.skip(h.idLength))
        return DecodedImage::Failure("the file ends inside its identification field");
    return h.imageType == kColourMapped ? ReadColourMapped(in, h, gamma) : ReadTrueColour(in, h, gamma);
}

std::vector<std::uint8_t> EncodeTarga(const PlainImage& image)
{
    if (image.IsNull() || image.Width() > kMaxSide || image.Height() > kMaxSide)
        return {};
    ByteWriter out;
    out.u8(0); // identification length
    out.u8(0); // colour map type
    out.u8(kTrueColour);
    out.fill(5, 0); // colour map specification
    out.u16le(0);   // x origin
    out.u16le(0);   // y origin
    out.u16le(static_cast<std::uint16_t>(image.Width()));
    out.u16le(static_cast<std::uint16_t>(image.Height()));
    out.u8(24);
    out.u8(0); // descriptor: the first row is the bottom one
    for (int y = image.Height() - 1; y >= 0; --y)
        for (int x = 0; x < image.Width(); ++x) {
            const Rgb colour = image.PixelColour(x, y);
            out.u8(colour.blue);
            out.u8(colour.green);
            out.u8(colour.red);
        }
    return out.take();
}

} // namespace zelvane
