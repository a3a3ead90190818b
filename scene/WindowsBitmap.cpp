#include "scene/WindowsBitmap.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <memory>

namespace zelvane {

using namespace bmp_layout;

namespace {

struct Header {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // as stored: negative for top-down rows
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t coloursUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0}; // red, green, blue
    std::size_t paletteEntrySize = 4;
};

// One colour channel of a 16- or 32-bit pixel under a bit-field mask, scaled
// to 8 bits. A mask with holes takes the span from its lowest to highest bit.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
    {
        if (mask == 0)
            return;
        shift_ = std::countr_zero(mask);
        mask_ = mask;
        bits_ = std::bit_width(mask >> shift_);
    }

    std::uint8_t operator()(std::uint32_t pixel) const
    {
        if (bits_ == 0)
            return 0;
        const std::uint64_t value = (pixel & mask_) >> shift_;
        const std::uint64_t maximum = (std::uint64_t{1} << bits_) - 1;
        return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
};

std::string ReadHeader(ByteReader& in, Header& h)
{
    if (in.u16le() != kSignature || !in.ok())
        return "the file does not begin with \"BM\"";
    in.seek(kFileHeaderSize); // file size, reserved words and pixel offset: read later
    h.headerSize = in.u32le();
    if (!in.ok())
        return "the file ends inside its header";
    switch (h.headerSize) {
    case kCoreHeaderSize:
        h.width = in.u16le();
        h.height = in.u16le();
        h.planes = in.u16le();
        h.bitCount = in.u16le();
        h.paletteEntrySize = 3;
        break;
    case kInfoHeaderSize:
    case kV2HeaderSize:
    case kV3HeaderSize:
    case kV4HeaderSize:
    case kV5HeaderSize:
        h.width = in.i32le();
        h.height = in.i32le();
        h.planes = in.u16le();
        h.bitCount = in.u16le();
        h.compression = in.u32le();
        in.skip(12); // image size and resolution: not needed to read the pixels
        h.coloursUsed = in.u32le();
        in.skip(4);
        // Bit fields follow a 40-byte header and are inside the longer ones.
        if (h.headerSize > kInfoHeaderSize || h.compression == kBitFields || h.compression == kAlphaBitFields) {
            for (std::uint32_t& mask : h.masks)
                mask = in.u32le();
            if (h.headerSize > kInfoHeaderSize)
                in.skip(h.headerSize - kInfoHeaderSize - 12);
            else if (h.compression == kAlphaBitFields)
                in.skip(4);
        }
        break;
    default:
        return "the header size " + std::to_string(h.headerSize) + " is not one of a bitmap";
    }
    if (!in.ok())
        return "the file ends inside its header";
    if (h.planes != 1)
        return "the header gives " + std::to_string(h.planes) + " planes instead of 1";
    const bool bitsFit = [&] {
        switch (h.compression) {
        case kRgb:
            return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 || h.bitCount == 24
                || h.bitCount == 32;
        case kRle8:
            return h.bitCount == 8;
        case kRle4:
            return h.bitCount == 4;
        case kBitFields:
        case kAlphaBitFields:
            return h.bitCount == 16 || h.bitCount == 32;
        default:
            return false;
        }
    }();
    if (!bitsFit)
        return "compression " + std::to_string(h.compression) + " with " + std::to_string(h.bitCount)
            + " bits per pixel is not a variant zelvane reads";
    if (h.compression == kRgb && h.bitCount == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    }
    if (h.height < 0 && (h.compression == kRle8 || h.compression == kRle4))
        return "run-length data cannot be stored top-down";
    return CheckImageSize(h.width, h.height < 0 ? -h.height : h.height);
}

std::string ReadPalette(ByteReader& in, const Header& h, Palette& palette)
{
    const std::size_t count = h.coloursUsed != 0 ? h.coloursUsed : std::size_t{1} << h.bitCount;
    if (count > kMaxColours)
        return "the colour table has " + std::to_string(count) + " entries, more than 256";
    if (count > in.remaining() / h.paletteEntrySize)
        return "the file ends inside its colour table";
    for (std::size_t i = 0; i < count; ++i) {
        const std::span<const std::uint8_t> entry = in.bytes(h.paletteEntrySize);
        palette[i] = {entry[2], entry[1], entry[0]};
    }
    return {};
}

// Bytes of one stored row of uncompressed pixels, without and with padding.
struct RowSize {
    std::uint64_t used;
    std::uint64_t stride;
};

RowSize RowSizeOf(const Header& h, std::int64_t width)
{
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * h.bitCount;
    return {(bits + 7) / 8, (bits + 31) / 32 * 4};
}

// Uncompressed rows of any depth; the caller has checked that they are there.
void ReadRows(const ByteReader& pixels, const Header& h, PlainImage& image)
{
    const int width = image.Width();
    const int height = image.Height();
    const RowSize size = RowSizeOf(h, width);
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const auto at = static_cast<std::size_t>(size.stride * static_cast<std::uint64_t>(fileRow));
        const auto used = static_cast<std::size_t>(size.used);
        const std::span<const std::uint8_t> source = pixels.sub(at, used).bytes(used);
        const int y = h.height < 0 ? fileRow : height - 1 - fileRow;
        std::span<std::uint8_t> target = image.Row(y);
        for (int x = 0; x < width; ++x) {
            const auto sx = static_cast<std::size_t>(x);
            switch (h.bitCount) {
            case 1:
                target[sx] = (source[sx / 8] >> (7 - sx % 8)) & 1;
                break;
            case 4:
                target[sx] = (source[sx / 2] >> (sx % 2 ? 0 : 4)) & 0x0F;
                break;
            case 8:
                target[sx] = source[sx];
                break;
            case 24:
                std::copy_n(&source[sx * 3], 3, &target[sx * 3]);
                break;
            case 16:
            case 32: {
                std::uint32_t value = 0;
                if (h.bitCount == 16)
                    value = static_cast<std::uint32_t>(source[sx * 2] | source[sx * 2 + 1] << 8);
                else if (h.compression == kRgb)
                    value = static_cast<std::uint32_t>(source[sx * 4] | source[sx * 4 + 1] << 8 | source[sx * 4 + 2] << 16);
                else
                    value = static_cast<std::uint32_t>(source[sx * 4]) | static_cast<std::uint32_t>(source[sx * 4 + 1]) << 8
                        | static_cast<std::uint32_t>(source[sx * 4 + 2]) << 16
                        | static_cast<std::uint32_t>(source[sx * 4 + 3]) << 24;
                const bool plain32 = h.bitCount == 32 && h.compression == kRgb;
                target[sx * 3] = plain32 ? static_cast<std::uint8_t>(value) : blue(value);
                target[sx * 3 + 1] = plain32 ? static_cast<std::uint8_t>(value >> 8) : green(value);
                target[sx * 3 + 2] = plain32 ? static_cast<std::uint8_t>(value >> 16) : red(value);
                break;
            }
            default:
                break;
            }
        }
    }
}

// Run-length 8- or 4-bit data, bottom row first. Runs past a row's end are
// clipped; a move past the top row ends the picture.
std::string ReadRunLengths(ByteReader in, const Header& h, PlainImage& image)
{
    const bool fourBits = h.compression == kRle4;
    const std::int64_t width = image.Width();
    const std::int64_t height = image.Height();
    std::int64_t x = 0;
    std::int64_t row = 0; // from the bottom
    auto put = [&](std::uint8_t index) {
        if (x < width && row < height)
            image.Row(static_cast<int>(height - 1 - row))[static_cast<std::size_t>(x)] = index;
        ++x;
    };
    while (row < height) {
        if (in.remaining() == 0)
            return {}; // no end-of-picture mark: what was given is the picture
        const std::uint8_t count = in.u8();
        const std::uint8_t value = in.u8();
        if (!in.ok())
            return "the run-length data ends inside a command";
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(fourBits ? static_cast<std::uint8_t>(i % 2 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        switch (value) {
        case 0: // end of row
            x = 0;
            ++row;
            break;
        case 1: // end of picture
            return {};
        case 2: { // move right and up
            const std::uint8_t right = in.u8();
            const std::uint8_t up = in.u8();
            if (!in.ok())
                return "the run-length data ends inside a move";
            x += right;
            row += up;
            break;
        }
        default: { // `value` pixels as they are, padded to a 16-bit boundary
            const std::size_t bytes = fourBits ? (value + 1u) / 2u : value;
            const std::span<const std::uint8_t> literal = in.bytes(bytes);
            if (!in.ok())
                return "the run-length data ends inside a run of pixels";
            for (std::size_t i = 0; i < value; ++i)
                put(fourBits ? static_cast<std::uint8_t>(i % 2 ? literal[i / 2] & 0x0F : literal[i / 2] >> 4) : literal[i]);
            if (bytes % 2)
                in.skip(1);
            break;
        }
        }
    }
    return {};
}

} // namespace

DecodedImage DecodeWindowsBitmap(std::span<const std::uint8_t> file)
{
    ByteReader in(file);
    Header h;
    if (std::string error = ReadHeader(in, h); !error.empty())
        return DecodedImage::Failure(std::move(error));

    auto palette = std::make_shared<Palette>();
    if (h.bitCount <= 8)
        if (std::string error = ReadPalette(in, h, *palette); !error.empty())
            return DecodedImage::Failure(std::move(error));

    ByteReader header(file);
    header.seek(kPixelOffsetPos);
    const std::size_t pixelOffset = header.u32le();
    if (pixelOffset > file.size())
        return DecodedImage::Failure("the pixel data would begin at byte " + std::to_string(pixelOffset)
                                     + ", past the end of the file");
    ByteReader pixels = ByteReader(file).sub(pixelOffset, file.size() - pixelOffset);

    const auto width = static_cast<int>(h.width);
    const auto height = static_cast<int>(h.height < 0 ? -h.height : h.height);
    const bool runLengths = h.compression == kRle8 || h.compression == kRle4;
    // Uncompressed rows must all be there before anything is allocated (the
    // last one may come without its padding). Run-length data can leave any
    // part of the picture out, so only kMaxImagePixels bounds its size.
    if (!runLengths) {
        const RowSize size = RowSizeOf(h, width);
        const std::uint64_t needed = size.stride * static_cast<std::uint64_t>(height - 1) + size.used;
        if (needed > pixels.remaining())
            return DecodedImage::Failure("the pixel data is cut short: " + std::to_string(needed) + " bytes needed, "
                                         + std::to_string(pixels.remaining()) + " there");
    }
    DecodedImage result{PlainImage(width, height, h.bitCount <= 8 ? 1 : 3), {}};
    if (h.bitCount <= 8)
        result.image.SetPalette(std::move(palette));
    if (!runLengths) {
        ReadRows(pixels, h, result.image);
        return result;
    }
    if (std::string error = ReadRunLengths(pixels, h, result.image); !error.empty())
        return DecodedImage::Failure(std::move(error));
    return result;
}

std::vector<std::uint8_t> EncodeWindowsBitmap(const PlainImage& image)
{
    if (image.IsNull())
        return {};
    const int bytesPerPixel = image.BytesPerPixel() == 1 ? 1 : image.BytesPerPixel() == 4 ? 4 : 3;
    const std::size_t paletteSize = bytesPerPixel == 1 ? kMaxColours * 4 : 0;
    const std::size_t stride = (static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(bytesPerPixel) + 3) & ~std::size_t{3};
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(image.Height());
    const std::size_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + paletteSize;

    ByteWriter out;
    out.u16le(kSignature);
    out.u32le(static_cast<std::uint32_t>(pixelOffset + pixelBytes));
    out.u32le(0);
    out.u32le(static_cast<std::uint32_t>(pixelOffset));
    out.u32le(kInfoHeaderSize);
    out.u32le(static_cast<std::uint32_t>(image.Width()));
    out.u32le(static_cast<std::uint32_t>(image.Height()));
    out.u16le(1);
    out.u16le(static_cast<std::uint16_t>(bytesPerPixel * 8));
    out.u32le(kRgb);
    out.u32le(static_cast<std::uint32_t>(pixelBytes));
    out.u32le(2835); // 72 dots per inch
    out.u32le(2835);
    out.u32le(bytesPerPixel == 1 ? static_cast<std::uint32_t>(kMaxColours) : 0);
    out.u32le(0);
    if (bytesPerPixel == 1) {
        const std::shared_ptr<const Palette> palette = image.GetPalette() ? image.GetPalette() : Palette::Grey();
        for (const Rgb& colour : palette->Entries()) {
            out.u8(colour.blue);
            out.u8(colour.green);
            out.u8(colour.red);
            out.u8(0);
        }
    }
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (bytesPerPixel == 1) {
                out.u8(image.PixelByte(x, y));
                continue;
            }
            const Rgb colour = image.PixelColour(x, y);
            out.u8(colour.blue);
            out.u8(colour.green);
            out.u8(colour.red);
            if (bytesPerPixel == 4)
                out.u8(image.Row(y)[static_cast<std::size_t>(x) * 4 + 3]);
        }
        out.fill(stride - static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(bytesPerPixel), 0);
    }
    return out.take();
}

} // namespace zelvane
