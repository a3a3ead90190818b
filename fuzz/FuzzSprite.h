#pragma once
// What fuzz_spr and fuzz_spr2 check of a sprite resource: every frame (up to
// a few dozen, and one index past the last) is located, decoded into all
// three planes and counted. Besides the sanitizers:
// - a frame index past the count selects frame 0;
// - a decode that fails leaves no plane; one that succeeds gives planes of
//   the header's size;
// - CountColours succeeds exactly when decoding does, and counts at least
//   every pixel left with alpha;
// - what decoded encodes again (unless a row is too long for 'SPR2') and
//   decodes to the same planes, size and origin.

#include "fuzz/FuzzSupport.h"
#include "objects/SpriteDecoder.h"
#include "objects/SpriteEncoder.h"
#include "objects/SpriteLayout.h"

#include <algorithm>
#include <numeric>
#include <span>
#include <string>

namespace zelvane::fuzz {

inline bool SamePlane(const PlainImage& a, const PlainImage& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (!std::ranges::equal(a.Row(y), b.Row(y)))
            return false;
    return true;
}

inline void CheckRoundTrip(SpriteFormat format, const SpriteFrame& frame, const std::string& where)
{
    const SpriteFrame copy[] = {frame};
    const EncodedSprite encoded =
        format == SpriteFormat::Spr2 ? EncodeSpr2(copy, frame.info.paletteId) : EncodeSpr(copy, frame.info.paletteId);
    if (!encoded.ok()) {
        // The one refusal a decoded frame can meet: a 'SPR2' row longer than a row command counts.
        Check(format == SpriteFormat::Spr2 &&
                  encoded.error.find("more than a row command can count") != std::string::npos,
              "a decoded frame does not encode", where + ": " + encoded.error);
        return;
    }
    SpriteFrame again;
    again.transparentIndex = frame.transparentIndex;
    Check(ReadSpriteFrameInfo(format, encoded.bytes, 0, again.info).ok(), "an encoded frame's header does not read",
          where);
    Check(again.info.width == frame.info.width && again.info.height == frame.info.height &&
              again.info.originX == frame.info.originX && again.info.originY == frame.info.originY,
          "the round trip changed the frame's size or origin", where);
    Check(DecodeSpriteFrame(encoded.bytes, kSpriteAllPlanes, again).ok(), "an encoded frame does not decode", where);
    Check(SamePlane(again.colour, frame.colour) && SamePlane(again.depth, frame.depth) &&
              SamePlane(again.alpha, frame.alpha),
          "the round trip changed a plane", where);
}

inline void FuzzSpriteResource(SpriteFormat format, const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> resource(data, size);
    SpriteFrameInfo first;
    if (!ReadSpriteFrameInfo(format, resource, 0, first).ok())
        return;
    constexpr uint32_t kMaxFrames = 24;
    const uint32_t frames = std::min(first.frameCount, kMaxFrames);
    for (uint32_t index = 0; index <= frames; ++index) {
        const std::string where = "frame " + std::to_string(index);
        SpriteFrame frame;
        // The last index tried is past the count when the count is small.
        const auto asked = static_cast<int32_t>(index == frames ? first.frameCount : index);
        if (!ReadSpriteFrameInfo(format, resource, asked, frame.info).ok())
            continue;
        if (index == frames)
            Check(frame.info.frameIndex == 0, "an index past the count did not select frame 0", where);
        frame.transparentIndex = static_cast<uint8_t>(index * 37);
        const SpriteStatus decoded = DecodeSpriteFrame(resource, kSpriteAllPlanes, frame);
        ColourCounts counts{};
        const SpriteStatus counted = CountColours(resource, frame.info, counts);
        if (!decoded.ok()) {
            Check(frame.colour.IsNull() && frame.depth.IsNull() && frame.alpha.IsNull(),
                  "a failed decode left planes behind", where);
            Check(decoded.error == SpriteError::TooLarge || !counted.ok(), "counting succeeded where decoding failed",
                  where);
            continue;
        }
        Check(counted.ok(), "counting failed where decoding succeeded", where + ": " + counted.message);
        for (const PlainImage* plane : {&frame.colour, &frame.depth, &frame.alpha})
            Check(plane->Width() == frame.info.width && plane->Height() == frame.info.height,
                  "a plane differs from the header's size", where);
        uint64_t withAlpha = 0;
        for (int y = 0; y < frame.info.height; ++y)
            for (const uint8_t a : frame.alpha.Row(y))
                withAlpha += a != kEmptyAlpha;
        // Not equal: skipping 0 rows goes back to the start of the row, and
        // pixels drawn again there count again.
        const uint64_t total = std::accumulate(counts.begin(), counts.end(), uint64_t{0});
        Check(total >= withAlpha, "a pixel was drawn but not counted", where);
        CheckRoundTrip(format, frame, where);
    }
}

} // namespace zelvane::fuzz
