// The PNG writer: checksums, and an image read back from its stored blocks.

#include "objects/PngWriter.h"

#include "bytes/ByteReader.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace zelvane;

namespace {

std::span<const uint8_t> Text(std::string_view s)
{
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

} // namespace

TEST(PngWriter, ChecksumsMatchTheirReferenceValues)
{
    EXPECT_EQ(Crc32(Text("123456789")), 0xCBF43926u);
    EXPECT_EQ(Adler32(Text("Wikipedia")), 0x11E60398u);
    const std::vector<uint8_t> many(100000, 0xFF); // sums that must be reduced on the way
    EXPECT_EQ(Adler32(many), Adler32(std::span(many).subspan(50000), Adler32(std::span(many).first(50000))));
}

TEST(PngWriter, WritesRgbaTopRowFirstInCheckedChunks)
{
    PlainImage image(200, 120, 3, 0);
    image.Row(0)[0] = 0x11;   // blue of the top-left pixel
    image.Row(0)[2] = 0x33;   // red
    image.Row(119)[3] = 0x77; // blue of the bottom row's second pixel
    const PlainImage mask(200, 120, 1, 9);
    const std::vector<uint8_t> png = EncodePng(image, &mask);

    ByteReader r(png);
    r.skip(8);
    std::vector<uint8_t> stream;
    std::string types;
    while (r.ok() && r.remaining() > 0) {
        const uint32_t length = r.u32be();
        const std::span<const uint8_t> typeAndData = r.bytes(4 + length);
        ASSERT_EQ(r.u32be(), Crc32(typeAndData));
        types += std::string(typeAndData.begin(), typeAndData.begin() + 4) + " ";
        if (types.ends_with("IHDR ")) {
            EXPECT_EQ(typeAndData[4 + 9], 6); // RGBA
        } else if (types.ends_with("IDAT ")) {
            stream.insert(stream.end(), typeAndData.begin() + 4, typeAndData.end());
        }
    }
    EXPECT_EQ(types, "IHDR IDAT IEND ");

    // Stored blocks: a final bit, then the length and its complement.
    ByteReader z(stream);
    z.skip(2);
    std::vector<uint8_t> raw;
    for (bool last = false; !last && z.ok();) {
        last = z.u8() & 1;
        const uint16_t length = z.u16le();
        EXPECT_EQ(static_cast<uint16_t>(~z.u16le()), length);
        const std::span<const uint8_t> data = z.bytes(length);
        raw.insert(raw.end(), data.begin(), data.end());
    }
    EXPECT_EQ(z.u32be(), Adler32(raw));
    const size_t rowBytes = 1 + 200 * 4;
    ASSERT_EQ(raw.size(), rowBytes * 120); // more than one block holds
    EXPECT_EQ(std::vector<uint8_t>(raw.begin(), raw.begin() + 5), (std::vector<uint8_t>{0, 0x33, 0, 0x11, 9}));
    EXPECT_EQ(raw[119 * rowBytes + 1 + 4 + 2], 0x77);
    EXPECT_TRUE(EncodePng(PlainImage()).empty());
}
