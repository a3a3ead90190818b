#include "spriteio/SpriteFrames.h"

#include "objects/SpriteDecoder.h"
#include "objects/SpriteLayout.h"

namespace zelvane {

WholeSprite LoadWholeSprite(CTGResFile& file, int16_t id, size_t mostFrames)
{
    WholeSprite sprite;
    const std::string name = "sprite " + std::to_string(id);
    SpriteFrame first;
    LoadSprite(file, id, 0, {}, first);
    if (first.status.error == SpriteError::Missing) {
        sprite.error = name + ": no SPR# or SPR2 resource has this id";
        return sprite;
    }
    if (!first.status.ok()) {
        sprite.error = name + ": " + first.status.message;
        return sprite;
    }
    sprite.format = first.info.format;
    const uint32_t count = first.info.frameCount;
    if (count > mostFrames) {
        sprite.error = name + ": " + std::to_string(count) + " frames, more than " + std::to_string(mostFrames);
        return sprite;
    }
    sprite.frames.resize(count);
    sprite.frames[0] = std::move(first);
    for (uint32_t f = 1; f < count; ++f) {
        SpriteFrame& frame = sprite.frames[f];
        LoadSprite(file, id, static_cast<int32_t>(f), {}, frame);
        if (!frame.status.ok()) {
            sprite.error = name + ": " + frame.status.message;
            sprite.frames.clear();
            return sprite;
        }
    }
    return sprite;
}

bool IsSkippedPixel(const SpriteFrame& frame, int x, int y)
{
    return frame.alpha.PixelByte(x, y) == kEmptyAlpha && frame.depth.PixelByte(x, y) == kEmptyDepth;
}

PlainImage FrameRgba(const SpriteFrame& frame)
{
    PlainImage rgba(frame.colour.Width(), frame.colour.Height(), 4, 0);
    rgba.SetOrder(ChannelOrder::Rgb);
    for (int y = 0; y < rgba.Height(); ++y) {
        const std::span<uint8_t> row = rgba.Row(y);
        for (int x = 0; x < rgba.Width(); ++x) {
            if (IsSkippedPixel(frame, x, y))
                continue;
            const Rgb c = frame.colour.PixelColour(x, y);
            uint8_t* pixel = &row[static_cast<size_t>(x) * 4];
            pixel[0] = c.red;
            pixel[1] = c.green;
            pixel[2] = c.blue;
            pixel[3] = frame.alpha.PixelByte(x, y);
        }
    }
    return rgba;
}

} // namespace zelvane
