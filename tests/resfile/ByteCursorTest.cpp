#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"
#include "bytes/ByteWriter.h"

#include <gtest/gtest.h>

using namespace zelvane;

TEST(ByteReader, ReadsBothByteOrdersAndFailsWithoutTouchingMemoryPastTheEnd)
{
    const std::vector<uint8_t> bytes = {0x12, 0x34, 0x56, 0x78, 0x9A};
    ByteReader r(bytes);
    EXPECT_EQ(r.u16le(), 0x3412);
    EXPECT_EQ(r.u16be(), 0x5678);
    EXPECT_EQ(r.remaining(), 1u);
    EXPECT_EQ(r.u32le(), 0u); // does not fit
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.position(), 4u);
    EXPECT_EQ(r.u8(), 0u); // sticky failure
}

TEST(ByteReader, SubReadersAreLimitedAndOverflowSafe)
{
    const std::vector<uint8_t> bytes(10, 7);
    ByteReader r(bytes);
    EXPECT_TRUE(r.sub(4, 6).ok());
    EXPECT_FALSE(r.sub(4, 7).ok());
    EXPECT_FALSE(r.sub(SIZE_MAX, 2).ok());
    EXPECT_FALSE(r.sub(2, SIZE_MAX).ok());
    ByteReader part = r.take_sub(3);
    EXPECT_EQ(part.size(), 3u);
    EXPECT_EQ(r.position(), 3u);
    part.skip(3);
    EXPECT_EQ(part.u8(), 0u);
    EXPECT_FALSE(part.ok());
    EXPECT_TRUE(r.ok());
}

TEST(ByteReader, StringsStopAtTheTerminatorOrTheLimit)
{
    const std::vector<uint8_t> bytes = {'a', 'b', 0, 'c', 'd', 'e'};
    ByteReader r(bytes);
    EXPECT_EQ(r.cstring(64), "ab");
    EXPECT_EQ(r.position(), 3u);
    EXPECT_EQ(r.cstring(2), "cd"); // no terminator within the limit
    EXPECT_EQ(r.cstring(64), "e"); // no terminator before the end
    EXPECT_TRUE(r.ok());
}

TEST(ByteWriter, WritesWhatTheReaderReads)
{
    ByteWriter w;
    w.u32be(0x4F424A44);
    w.u16le(0xBEEF);
    w.u32le(0);
    w.patch_u32le(6, 0xCAFEF00D);
    ByteReader r(w.data());
    EXPECT_EQ(r.u32be(), 0x4F424A44u);
    EXPECT_EQ(r.u16le(), 0xBEEF);
    EXPECT_EQ(r.u32le(), 0xCAFEF00Du);
}

TEST(ByteSpanWriter, WritesInPlaceAndNeverPastTheBlock)
{
    std::vector<uint8_t> block(7, 0xA3);
    ByteSpanWriter w(block);
    w.u16(0x1234, ByteOrder::Big);
    w.u32(0x89ABCDEF, ByteOrder::Little);
    EXPECT_TRUE(w.ok());
    EXPECT_EQ(block, (std::vector<uint8_t>{0x12, 0x34, 0xEF, 0xCD, 0xAB, 0x89, 0xA3}));
    w.u16le(0xFFFF); // one byte left: nothing is written, not even half
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(block[6], 0xA3);
    EXPECT_FALSE(w.seek(0)); // sticky failure
    w.u8(0);
    EXPECT_EQ(block[0], 0x12);

    ByteSpanWriter again(block);
    EXPECT_FALSE(again.seek(8));
    ByteSpanWriter text(block);
    text.seek(5);
    text.text("xyz");
    EXPECT_FALSE(text.ok());
    EXPECT_EQ(block[5], 0x89);

    ByteReader r(block);
    EXPECT_EQ(r.u16(ByteOrder::Big), 0x1234);
    EXPECT_EQ(r.u32(ByteOrder::Little), 0x89ABCDEFu);
}
