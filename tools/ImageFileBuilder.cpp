#include "tools/ImageFileBuilder.h"

#include "bytes/ByteWriter.h"

namespace zelvane {

std::vector<std::uint8_t> BitmapFile(const BitmapSpec& spec)
{
    const bool core = spec.headerSize == 12;
    const std::size_t entrySize = core ? 3 : 4;
    const std::size_t masksAfterHeader = spec.headerSize == 40 ? spec.masks.size() * 4 : 0;
    const std::uint32_t pixelOffset = spec.pixelOffset != 0
        ? spec.pixelOffset
        : static_cast<std::uint32_t>(14 + spec.headerSize + masksAfterHeader + spec.palette.size() * entrySize);

    ByteWriter out;
    out.text("BM");
    out.u32le(static_cast<std::uint32_t>(pixelOffset + spec.pixels.size()));
    out.u32le(0);
    out.u32le(pixelOffset);
    out.u32le(spec.headerSize);
    if (core) {
        out.u16le(static_cast<std::uint16_t>(spec.width));
        out.u16le(static_cast<std::uint16_t>(spec.height));
        out.u16le(spec.planes);
        out.u16le(spec.bitCount);
    } else {
        out.u32le(static_cast<std::uint32_t>(spec.width));
        out.u32le(static_cast<std::uint32_t>(spec.height));
        out.u16le(spec.planes);
        out.u16le(spec.bitCount);
        out.u32le(spec.compression);
        out.u32le(static_cast<std::uint32_t>(spec.pixels.size()));
        out.u32le(2835);
        out.u32le(2835);
        out.u32le(spec.coloursUsed);
        out.u32le(0);
        std::size_t written = 40;
        if (spec.headerSize > 40)
            for (const std::uint32_t mask : spec.masks) {
                out.u32le(mask);
                written += 4;
            }
        out.fill(spec.headerSize - written, 0); // colour space fields of V4 and V5
        if (spec.headerSize == 40)
            for (const std::uint32_t mask : spec.masks)
                out.u32le(mask);
    }
    for (const std::uint32_t colour : spec.palette) {
        out.u8(static_cast<std::uint8_t>(colour));
        out.u8(static_cast<std::uint8_t>(colour >> 8));
        out.u8(static_cast<std::uint8_t>(colour >> 16));
        if (!core)
            out.u8(0);
    }
    if (out.size() < pixelOffset)
        out.fill(pixelOffset - out.size(), 0);
    out.bytes(spec.pixels);
    return out.take();
}

std::vector<std::uint8_t> TargaFile(const TargaSpec& spec)
{
    ByteWriter out;
    out.u8(static_cast<std::uint8_t>(spec.id.size()));
    out.u8(spec.colourMapType);
    out.u8(spec.imageType);
    out.u16le(0); // first colour map entry
    out.u16le(spec.colourMapLength);
    out.u8(spec.colourMapEntrySize);
    out.u16le(spec.xOrigin);
    out.u16le(spec.yOrigin);
    out.u16le(spec.width);
    out.u16le(spec.height);
    out.u8(spec.pixelDepth);
    out.u8(spec.descriptor);
    out.bytes(spec.id);
    out.bytes(spec.colourMap);
    out.bytes(spec.data);
    return out.take();
}

} // namespace zelvane
