#pragma once
// Byte layouts of the two sprite formats, shared by the decoder and the
// encoder. 'SPR2' is little-endian; 'SPR#' is little-endian in memory and
// may be stored big-endian (the decoder tells the two apart by the version).
// 'SPR2' comes in two versions: 1000 with an offset table, and 1001 whose
// frames follow one another, each with its own size.

#include <cstddef>
#include <cstdint>

namespace zelvane {

namespace sprite_layout {
// Both formats: u32 version, u32 frame count, u32 palette id, then one u32
// offset per frame, counted from the start of the resource.
inline constexpr size_t kVersionPos = 0;
inline constexpr size_t kFrameCountPos = 4;
inline constexpr size_t kPaletteIdPos = 8;
inline constexpr size_t kOffsetsPos = 12;
inline constexpr size_t kOffsetSize = 4;
} // namespace sprite_layout

namespace spr_layout {
// Frame: i16 origin y, i16 origin x, i16 height, i16 width, two bytes the
// decoder does not use, then the commands.
inline constexpr size_t kOriginYPos = 0;
inline constexpr size_t kOriginXPos = 2;
inline constexpr size_t kHeightPos = 4;
inline constexpr size_t kWidthPos = 6;
inline constexpr size_t kCommandsPos = 10;
inline constexpr int kMaxSide = 32767;
inline constexpr int kMaxCount = 255;

// Commands: a command byte and a count byte.
inline constexpr uint8_t kSkipPixels = 1;
inline constexpr uint8_t kColourRun = 2;   // colour byte, padding byte
inline constexpr uint8_t kLiteral = 3;     // count colour bytes, padded to even
inline constexpr uint8_t kRowStart = 4;
inline constexpr uint8_t kEnd = 5;
inline constexpr uint8_t kSkipRows = 9;

// A version sprites of this format carry; the decoder reads any version.
inline constexpr uint32_t kWrittenVersion = 505;
} // namespace spr_layout

namespace spr2_layout {
// Frame header: u16 width, u16 height, u32 flags, i16 palette id, u16
// transparent colour index, i16 origin y, i16 origin x; then the commands.
inline constexpr size_t kWidthPos = 0;
inline constexpr size_t kHeightPos = 2;
inline constexpr size_t kFlagsPos = 4;
inline constexpr size_t kPaletteIdPos = 8;
inline constexpr size_t kTransparentPos = 10;
inline constexpr size_t kOriginYPos = 12;
inline constexpr size_t kOriginXPos = 14;
inline constexpr size_t kCommandsPos = 16;
inline constexpr int kMaxSide = 65535;

// Version 1000: the header and offset table of sprite_layout. The encoder
// writes this version.
inline constexpr uint32_t kVersion = 1000;

// Version 1001: u32 version, u32 default palette id, u32 frame count (the
// palette before the count), then the frames without an offset table, each
// a u32 frame version and a u32 size, followed by exactly `size` bytes of a
// version-1000 frame (header and commands).
inline constexpr uint32_t kVersionFramed = 1001;
inline constexpr size_t kFramedPaletteIdPos = 4;
inline constexpr size_t kFramedFrameCountPos = 8;
inline constexpr size_t kFramedFramesPos = 12;
inline constexpr size_t kFramePrefixSize = 8; // frame version, frame size
// A version-1001 frame's palette id meaning "the sprite's default palette"
// (besides 0): the fill of a fresh resource block.
inline constexpr uint16_t kUnsetPaletteId = 0xA3A3;

// Frame flags: which planes the frame carries.
inline constexpr uint32_t kFlagColour = 1;
inline constexpr uint32_t kFlagDepth = 2;
inline constexpr uint32_t kFlagAlpha = 4;

// Commands: one u16, the command in the top 3 bits, the count below.
inline constexpr int kCommandShift = 13;
inline constexpr uint16_t kCountMask = 0x1FFF;
inline constexpr int kMaxCount = kCountMask;
inline constexpr uint16_t kRowStart = 0;       // count = the row's bytes, this word included
inline constexpr uint16_t kDepthColour = 1;    // depth, colour per pixel
inline constexpr uint16_t kDepthColourAlpha = 2; // depth, colour, alpha ÷ 8 per pixel
inline constexpr uint16_t kSkipPixels = 3;
inline constexpr uint16_t kSkipRows = 4;
inline constexpr uint16_t kEnd = 5;
inline constexpr uint16_t kColour = 6;         // colour per pixel
inline constexpr int kAlphaShift = 3;
} // namespace spr2_layout

// What pixels drawn without their own depth and alpha get.
inline constexpr uint8_t kPlainPixelDepth = 0x80;
inline constexpr uint8_t kOpaqueAlpha = 0xFF;
// What every pixel of a fresh plane holds.
inline constexpr uint8_t kEmptyDepth = 0xFF;
inline constexpr uint8_t kEmptyAlpha = 0;

} // namespace zelvane
