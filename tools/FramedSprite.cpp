#include "tools/FramedSprite.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "objects/SpriteLayout.h"

namespace zelvane {

std::vector<uint8_t> FramedSpr2(uint32_t defaultPalette, std::span<const std::vector<uint8_t>> frames)
{
    ByteWriter w;
    w.u32le(spr2_layout::kVersionFramed);
    w.u32le(defaultPalette);
    w.u32le(static_cast<uint32_t>(frames.size()));
    for (const std::vector<uint8_t>& frame : frames) {
        w.u32le(spr2_layout::kVersionFramed);
        w.u32le(static_cast<uint32_t>(frame.size()));
        w.bytes(frame);
    }
    return w.take();
}

std::vector<uint8_t> Spr2AsVersion1001(std::span<const uint8_t> version1000)
{
    using namespace sprite_layout;
    ByteReader r(version1000);
    const uint32_t version = r.u32le();
    const uint32_t count = r.u32le();
    const uint32_t palette = r.u32le();
    if (!r.ok() || version != spr2_layout::kVersion || count > r.remaining() / kOffsetSize)
        return {};
    std::vector<size_t> offsets;
    for (uint32_t i = 0; i < count; ++i)
        offsets.push_back(r.u32le());
    offsets.push_back(version1000.size());
    std::vector<std::vector<uint8_t>> frames;
    for (uint32_t i = 0; i < count; ++i) {
        if (offsets[i] > offsets[i + 1] || offsets[i + 1] > version1000.size())
            return {};
        const std::span<const uint8_t> frame = version1000.subspan(offsets[i], offsets[i + 1] - offsets[i]);
        frames.emplace_back(frame.begin(), frame.end());
    }
    return FramedSpr2(palette, frames);
}

} // namespace zelvane
