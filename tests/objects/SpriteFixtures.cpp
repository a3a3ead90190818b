#include "tests/objects/SpriteFixtures.h"

#include "bytes/ByteWriter.h"
#include "objects/ObjectDefinition.h"

#include <gtest/gtest.h>

namespace zelvane::test {

Bytes Words(std::initializer_list<uint16_t> words)
{
    ByteWriter w;
    for (uint16_t word : words)
        w.u16le(word);
    return w.take();
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Spr2Frame(uint16_t width, uint16_t height, const Bytes& commands, int16_t palette)
{
    // width, height, flags, palette, transparent index, origin y, origin x
    return Join({Words({width, height, 7, 0, static_cast<uint16_t>(palette), 0, static_cast<uint16_t>(-3), 5}),
                 commands});
}

Bytes SprFrame(int16_t width, int16_t height, const Bytes& commands)
{
    // origin y, origin x, height, width, unused
    return Join({Words({static_cast<uint16_t>(-3), 5, static_cast<uint16_t>(height), static_cast<uint16_t>(width), 0}),
                 commands});
}

Bytes SpriteResource(uint32_t version, uint32_t palette, const std::vector<Bytes>& frames, bool bigEndian)
{
    ByteWriter w;
    const auto put = [&](uint32_t v) { bigEndian ? w.u32be(v) : w.u32le(v); };
    put(version);
    put(static_cast<uint32_t>(frames.size()));
    put(palette);
    auto offset = static_cast<uint32_t>(12 + 4 * frames.size());
    for (const Bytes& frame : frames) {
        put(offset);
        offset += static_cast<uint32_t>(frame.size());
    }
    for (const Bytes& frame : frames)
        w.bytes(frame);
    return w.take();
}

Bytes DrawGroup20004(const std::vector<DrawGroupSprite>& sprites, uint32_t image)
{
    ByteWriter w;
    w.u16le(20004);
    w.u32le(12);
    for (uint32_t i = 0; i < 12; ++i) {
        w.u32le(i % 4); // direction
        w.u32le(i / 4); // zoom
        w.u32le(i == image ? static_cast<uint32_t>(sprites.size()) : 0);
        for (const DrawGroupSprite& s : i == image ? sprites : std::vector<DrawGroupSprite>{})
            for (uint32_t v : {uint32_t(s.spriteId), uint32_t(s.value1), uint32_t(s.value2), uint32_t(s.value3),
                               s.value4, uint32_t(s.flags), s.value5, s.value6})
                w.u32le(v);
    }
    return w.take();
}

DrawGroupSprite Reference(int32_t id, int32_t frame, int32_t dx, int32_t dy, int32_t flags)
{
    DrawGroupSprite s;
    s.spriteId = id;
    s.value1 = frame;
    s.value2 = dx;
    s.value3 = dy;
    s.flags = flags;
    return s;
}

Bytes ObjdRecord(const std::map<size_t, int16_t>& words)
{
    ObjectDefinition record;
    for (const auto& [n, value] : words)
        record.SetWord(n, value);
    return record.StoredBytes();
}

SpriteFrame SolidFrame(int width, int height, uint8_t colour, uint8_t depth, uint8_t alpha)
{
    SpriteFrame frame;
    frame.colour = PlainImage(width, height, 1, colour);
    frame.depth = PlainImage(width, height, 1, depth);
    frame.alpha = PlainImage(width, height, 1, alpha);
    frame.info.paletteId = -1;
    return frame;
}

CTGIffFile& FixtureFile::Open()
{
    const std::string path = dir_.File("fixture.iff");
    WriteBytes(path, builder_.Build(IffBuilder::Map::Written));
    file_ = std::make_unique<CTGIffFile>();
    EXPECT_EQ(file_->OpenContainer(path), kResOk);
    return *file_;
}

} // namespace zelvane::test
