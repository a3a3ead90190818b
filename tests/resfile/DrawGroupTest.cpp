// Draw groups in the short (20000-20002) and long (20003, 20004) layouts.

#include "bytes/ByteWriter.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGIffFile.h"
#include "tests/resfile/IffTestFiles.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

namespace {

// One image (direction 4, zoom 2) with a kept reference (-3 tag, sprite id -7) and a dropped one.
std::vector<uint8_t> ShortGroup(uint16_t version)
{
    ByteWriter w;
    w.u16le(version);
    w.u16le(1);
    w.u16le(2);
    w.u8(4);
    w.u8(2);
    for (uint16_t tag : {uint16_t{0xFFFD}, uint16_t{0x0001}}) {
        w.u16le(tag);
        w.u16le(static_cast<uint16_t>(-7));
        w.u16le(1);      // value 1
        w.u16le(0x8000); // flags, sign-extended
        w.u16le(2);
        w.u16le(3);
        if (version >= 20001)
            w.u32le(0xDEADBEEF);
    }
    return w.take();
}

std::vector<uint8_t> LongGroup(uint16_t version)
{
    ByteWriter w;
    w.u16le(version);
    w.u32le(1);
    w.u32le(1);  // direction
    w.u32le(3);  // zoom
    w.u32le(1);
    for (uint32_t v : {100u, 1u, 2u, 3u, 0x3F800000u, 9u})
        w.u32le(v);
    if (version >= 20004) {
        w.u32le(0x40000000);
        w.u32le(0x40400000);
    }
    return w.take();
}

} // namespace

TEST(DrawGroup, ShortLayoutKeepsOnlyTaggedReferencesAndSignExtends)
{
    for (uint16_t version : {uint16_t{20000}, uint16_t{20001}, uint16_t{20002}}) {
        SCOPED_TRACE(version);
        CTGDrawGroup group;
        ASSERT_EQ(group.Decode(ShortGroup(version)), kResOk);
        ASSERT_EQ(group.ImageCount(), 1u);
        const DrawGroupImage& image = group.Image(0);
        EXPECT_EQ(image.direction, 4);
        EXPECT_EQ(image.zoom, 2);
        ASSERT_EQ(image.sprites.size(), 1u);
        EXPECT_EQ(image.sprites[0].spriteId, -7);
        EXPECT_EQ(image.sprites[0].flags, -32768);
        EXPECT_EQ(image.sprites[0].value3, 3);
        EXPECT_EQ(image.sprites[0].value4, version == 20000 ? 0u : 0xDEADBEEFu);
    }
}

TEST(DrawGroup, LongLayoutReadsValuesFiveAndSixFrom20004)
{
    CTGDrawGroup group;
    ASSERT_EQ(group.Decode(LongGroup(20003)), kResOk);
    EXPECT_EQ(group.Image(0).sprites[0].value5, 0u);
    ASSERT_EQ(group.Decode(LongGroup(20004)), kResOk);
    const DrawGroupSprite& s = group.Image(0).sprites[0];
    EXPECT_EQ(s.spriteId, 100);
    EXPECT_EQ(s.flags, 9);
    EXPECT_FLOAT_EQ(DrawGroupSprite::AsFloat(s.value4), 1.0f);
    EXPECT_FLOAT_EQ(DrawGroupSprite::AsFloat(s.value6), 3.0f);
    EXPECT_EQ(group.Image(0).zoom, 3);
}

TEST(DrawGroup, CountsThatCannotFitAndCutDataFailCleanly)
{
    CTGDrawGroup group;
    std::vector<uint8_t> bytes = LongGroup(20004);
    bytes[2] = 0xFF; // image count far beyond the data
    EXPECT_EQ(group.Decode(bytes), kErrBadLayout);
    EXPECT_EQ(group.ImageCount(), 0u);
    bytes = LongGroup(20004);
    bytes[14] = 0x40; // sprite count beyond the data
    EXPECT_EQ(group.Decode(bytes), kErrBadLayout);
    bytes = ShortGroup(20001);
    bytes.resize(bytes.size() - 3);
    EXPECT_EQ(group.Decode(bytes), kErrBadLayout);
    EXPECT_EQ(group.Decode({}), kErrBadLayout);
}

TEST(DrawGroup, LoadsFromAContainerAndGivesTheResourceBack)
{
    TempDir dir;
    IffBuilder b;
    b.AddChunk(kTypeDGRP, 200, "table", LongGroup(20004));
    WriteBytes(dir.File("d.iff"), b.Build(IffBuilder::Map::Written));
    CTGIffFile file;
    ASSERT_EQ(file.OpenContainer(dir.File("d.iff")), kResOk);
    CTGDrawGroup group;
    ASSERT_EQ(group.Load(file, 200), kResOk);
    EXPECT_EQ(group.Name(), "table");
    EXPECT_EQ(group.Load(file, 201), kErrNoSuchResource);
}

TEST(DrawGroup, EncodesWhatItDecodes)
{
    for (uint16_t version : {uint16_t{20003}, uint16_t{20004}}) {
        CTGDrawGroup group;
        ASSERT_EQ(group.Decode(LongGroup(version)), kResOk);
        EXPECT_EQ(group.Encode(), LongGroup(version));
    }
    CTGDrawGroup made;
    DrawGroupImage image;
    image.direction = 16;
    image.zoom = 1;
    image.sprites.push_back({-5, 1, -32, 16, 0, 0, 0, 2});
    made.Set("made", 20004, {image});
    CTGDrawGroup back;
    ASSERT_EQ(back.Decode(made.Encode()), kResOk);
    EXPECT_EQ(back.Image(0).sprites[0].value2, -32);
    EXPECT_EQ(back.Image(0).sprites[0].spriteId, -5);
}
