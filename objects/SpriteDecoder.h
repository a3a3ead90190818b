#pragma once
// Decoding of 'SPR#' and 'SPR2' sprite frames into colour, depth and alpha
// planes, colour counts, and `LoadSprite`, which fetches a sprite and its
// palette from a container.
//
// Damaged data never writes outside the planes: every run goes through a
// cursor that stops at the frame's edge. Pixels of a run that reach past the
// right edge, and runs in rows above the first row command or below the last
// row, are read and dropped (clipped); the frame still decodes. Data that
// ends before the end command fails with Truncated, a command outside the
// table with BadToken; either way the caller gets no planes for that frame.
// A sized frame ('SPR2' version 1001) ends at its size: commands that run
// past it fail with Truncated, an end command before it with BadFrame.

#include "objects/SpriteFrame.h"
#include "resfile/CTGResFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace zelvane {

using ColourCounts = std::array<uint32_t, 256>;

// `LoadSprite` result bits and the planes a request asks for.
enum SpriteOutput : uint32_t {
    kSpriteLoaded = 1, // always set
    kSpriteColourPlane = 2,
    kSpriteDepthPlane = 4,
    kSpriteAlphaPlane = 8,
    kSpriteAllPlanes = kSpriteColourPlane | kSpriteDepthPlane | kSpriteAlphaPlane,
};

// The version a sprite resource states in its first 4 bytes (a 'SPR#' kept
// in the other byte order read swapped); none when it is shorter.
std::optional<uint32_t> SpriteVersion(SpriteFormat format, std::span<const uint8_t> resource);

// Locates frame `frameIndex` (an index out of range selects frame 0) of a
// sprite resource ('SPR2' in version 1000 or 1001) and reads its header.
// Fails with BadHeader, UnsupportedVersion or BadFrame.
SpriteStatus ReadSpriteFrameInfo(SpriteFormat format, std::span<const uint8_t> resource, int32_t frameIndex,
                                 SpriteFrameInfo& info);

// Makes the planes named by `planes` (SpriteOutput bits) in `frame` and
// decodes the frame's commands into them; the colour plane starts as
// `frame.transparentIndex` and gets `frame.palette`. Fails with TooLarge
// (before anything is allocated), Truncated or BadToken, and then leaves
// every plane null.
SpriteStatus DecodeSpriteFrame(std::span<const uint8_t> resource, uint32_t planes, SpriteFrame& frame);

// `CountColours`: adds 1 to counts[c] for every pixel of the frame drawn with
// colour index c (pixels clipped at the frame's edge do not count). On
// failure (Truncated, BadToken) the counts are left unchanged.
SpriteStatus CountColours(std::span<const uint8_t> resource, const SpriteFrameInfo& info, ColourCounts& counts);

struct SpriteRequest {
    uint32_t planes = kSpriteAllPlanes;
    // The colour plane's fill: `transparentIndex` when given, else the
    // palette entry nearest to `keyColour`.
    Rgb keyColour{};
    std::optional<uint8_t> transparentIndex;
    // When set, `CountColours` adds the frame's colours here.
    ColourCounts* counts = nullptr;
};

// `LoadSprite`: 'SPR#' `spriteId`, else 'SPR2' `spriteId`, frame
// `frameIndex`, coloured by its 'PALT' (the default palette when that is
// absent or unreadable). Returns kSpriteLoaded plus the bit of each plane
// made. Whatever `frame` held is replaced. Without a sprite: sides and
// origin 0 and status Missing; a damaged frame gives no planes and says why
// in `frame.status`. The resources are given back before returning.
uint32_t LoadSprite(CTGResFile& file, int16_t spriteId, int32_t frameIndex, const SpriteRequest& request,
                    SpriteFrame& frame);

} // namespace zelvane
