#include "objects/PngWriter.h"

#include "bytes/ByteWriter.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace zelvane {

namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kColourTypeRgb = 2;
constexpr uint8_t kColourTypeRgba = 6;
constexpr size_t kMaxStoredBlock = 65535;
// IDAT chunks are cut at this size; readers join them.
constexpr size_t kMaxIdatChunk = size_t{1} << 20;

const std::array<uint32_t, 256>& CrcTable()
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void Chunk(ByteWriter& out, const char (&type)[5], std::span<const uint8_t> data)
{
    const std::span<const uint8_t> typeBytes(reinterpret_cast<const uint8_t*>(type), 4);
    out.u32be(static_cast<uint32_t>(data.size()));
    out.bytes(typeBytes);
    out.bytes(data);
    out.u32be(Crc32(data, Crc32(typeBytes)));
}

// The image as PNG scanlines: a filter byte (0, none) then the pixels of each
// row, top row first.
std::vector<uint8_t> Scanlines(const PlainImage& image, const PlainImage* alpha)
{
    const size_t channels = alpha ? 4 : 3;
    const auto width = static_cast<size_t>(image.Width());
    std::vector<uint8_t> raw;
    raw.reserve((1 + width * channels) * static_cast<size_t>(image.Height()));
    for (int y = 0; y < image.Height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.Width(); ++x) {
            const Rgb c = image.PixelColour(x, y);
            raw.push_back(c.red);
            raw.push_back(c.green);
            raw.push_back(c.blue);
            if (alpha)
                raw.push_back(alpha->PixelByte(x, y));
        }
    }
    return raw;
}

// A zlib stream of stored deflate blocks.
std::vector<uint8_t> StoredZlib(std::span<const uint8_t> raw)
{
    ByteWriter z;
    z.u8(0x78); // deflate, 32 KiB window
    z.u8(0x01); // no preset dictionary, fastest; 0x7801 is a multiple of 31
    size_t at = 0;
    do {
        const size_t length = std::min(kMaxStoredBlock, raw.size() - at);
        const bool last = at + length == raw.size();
        z.u8(last ? 1 : 0); // BFINAL, BTYPE 00 (stored)
        z.u8(static_cast<uint8_t>(length));
        z.u8(static_cast<uint8_t>(length >> 8));
        z.u8(static_cast<uint8_t>(~length));
        z.u8(static_cast<uint8_t>(~length >> 8));
        z.bytes(raw.subspan(at, length));
        at += length;
    } while (at < raw.size());
    z.u32be(Adler32(raw));
    return z.take();
}

} // namespace

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc)
{
    const std::array<uint32_t, 256>& table = CrcTable();
    uint32_t c = crc ^ 0xFFFFFFFFu;
    for (uint8_t b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t Adler32(std::span<const uint8_t> bytes, uint32_t adler)
{
    constexpr uint32_t kBase = 65521;
    // 5552 bytes is the most that can be summed before the 32-bit sums could overflow.
    constexpr size_t kChunk = 5552;
    uint32_t a = adler & 0xFFFF;
    uint32_t b = adler >> 16;
    for (size_t at = 0; at < bytes.size(); at += kChunk) {
        for (uint8_t v : bytes.subspan(at, std::min(kChunk, bytes.size() - at))) {
            a += v;
            b += a;
        }
        a %= kBase;
        b %= kBase;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> EncodePng(const PlainImage& image, const PlainImage* alpha)
{
    if (image.IsNull())
        return {};
    if (alpha && (alpha->Width() != image.Width() || alpha->Height() != image.Height()))
        alpha = nullptr;
    ByteWriter out;
    out.bytes(kSignature);

    ByteWriter header;
    header.u32be(static_cast<uint32_t>(image.Width()));
    header.u32be(static_cast<uint32_t>(image.Height()));
    header.u8(8); // bits per channel
    header.u8(alpha ? kColourTypeRgba : kColourTypeRgb);
    header.u8(0); // deflate
    header.u8(0); // adaptive filtering (every row uses filter 0)
    header.u8(0); // not interlaced
    Chunk(out, "IHDR", header.data());

    const std::vector<uint8_t> stream = StoredZlib(Scanlines(image, alpha));
    const std::span<const uint8_t> all(stream);
    for (size_t at = 0; at < all.size(); at += kMaxIdatChunk)
        Chunk(out, "IDAT", all.subspan(at, std::min(kMaxIdatChunk, all.size() - at)));
    Chunk(out, "IEND", {});
    return out.take();
}

bool WritePng(const std::string& path, const PlainImage& image, const PlainImage* alpha)
{
    const std::vector<uint8_t> bytes = EncodePng(image, alpha);
    if (bytes.empty())
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace zelvane
