#pragma once
// Writing sprites: frames given as planes become a 'SPR2' resource (version
// 1000) or a 'SPR#' resource, laid out as the decoder reads them, so that
// decoding what was encoded gives the same planes back.
//
// Each frame needs its 8-bit colour plane; its depth and alpha planes are
// optional. A pixel is left transparent (skipped) when it holds exactly what
// the decoder leaves in a skipped pixel: the frame's transparentIndex, depth
// 0xFF and alpha 0 (without an alpha plane: when its colour is the
// transparent index). Pixels without a depth plane get depth 0x80, pixels
// without an alpha plane alpha 0xFF.
//
// Losses: 'SPR2' keeps 5 bits of alpha below 255 (alpha ÷ 8); 'SPR#' keeps
// only the colour of the pixels whose alpha is not 0.

#include "objects/SpriteFrame.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelvane {

struct EncodedSprite {
    std::vector<uint8_t> bytes; // the resource, little-endian
    std::string error;          // empty on success

    [[nodiscard]] bool ok() const { return error.empty(); }
};

// Frame headers take each frame's info.originX/originY; a 'SPR2' frame
// header also takes info.paletteId (when it fits 16 bits, else -1: the
// resource's) and transparentIndex. Fails when there are no frames, a
// colour plane is missing, planes differ in size or are not 8-bit, a value
// does not fit its field, or a 'SPR2' row needs more than 8191 bytes.
EncodedSprite EncodeSpr2(std::span<const SpriteFrame> frames, int32_t paletteId);
EncodedSprite EncodeSpr(std::span<const SpriteFrame> frames, int32_t paletteId);

} // namespace zelvane
