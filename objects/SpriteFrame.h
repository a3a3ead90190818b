#pragma once
// One sprite frame: where it lives in its resource, what its header says, and
// the three planes it decodes into (colour index, depth, alpha).

#include "objects/Palette.h"
#include "objects/PlainImage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zelvane {

enum class SpriteFormat { Spr, Spr2 };

enum class SpriteError {
    None,
    Missing,            // no 'SPR#' or 'SPR2' resource with the id
    BadHeader,          // resource header or offset table cut short, or no frames
    UnsupportedVersion, // an 'SPR2' version other than 1000 and 1001
    BadFrame,           // frame header or size outside the data, a negative side,
                        // or commands that end before the frame's size does
    TooLarge,           // sides above kMaxFrameSide: no planes are made
    Truncated,          // the data ends before the end command
    BadToken,           // a command outside the format's table
};

struct SpriteStatus {
    SpriteError error = SpriteError::None;
    // Names what was wrong and where, e.g. "frame 2: bad token 0xE001 at byte 418".
    std::string message;

    [[nodiscard]] bool ok() const { return error == SpriteError::None; }
};

// Planes are made only up to this many pixels a side (real frames stay below
// 300), so that a damaged header cannot ask for gigabytes.
inline constexpr int kMaxFrameSide = 4096;

struct SpriteFrameInfo {
    SpriteFormat format = SpriteFormat::Spr2;
    bool bigEndian = false; // a 'SPR#' stored in the other byte order
    uint32_t version = 0;
    uint32_t frameCount = 0;
    uint32_t frameIndex = 0;   // the frame chosen: 0 for an index out of range
    size_t frameOffset = 0;    // of the frame header, from the resource start
    size_t commandsOffset = 0;
    // Where the frame's bytes end: the resource's end, or for a sized frame
    // ('SPR2' version 1001) its header's offset plus its size, where its
    // commands must end exactly.
    size_t frameEnd = 0;
    bool sized = false;
    int width = 0;             // a 0 side in the header makes both sides 1
    int height = 0;
    int originX = 0;
    int originY = 0;
    // The 'SPR2' frame's when 0 or more (version 1001: above 0, and not
    // 0xA3A3), else the resource's.
    int32_t paletteId = 0;
    uint16_t storedTransparentIndex = 0; // 'SPR2' frame header; informational
    uint32_t flags = 0;        // 'SPR2' frame flags
};

struct SpriteFrame {
    SpriteFrameInfo info;
    // The value every colour plane pixel starts with.
    uint8_t transparentIndex = 0;
    std::shared_ptr<const Palette> palette;
    // 8-bit planes of width × height, or null when not made. The colour
    // plane carries `palette`, the other two the grey palette.
    PlainImage colour;
    PlainImage depth;
    PlainImage alpha;
    SpriteStatus status;
};

} // namespace zelvane
