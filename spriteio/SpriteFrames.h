#pragma once
// Every frame of one sprite decoded whole, as export and import both need
// it, and a frame's colour and alpha as one RGBA picture.

#include "objects/PlainImage.h"
#include "objects/SpriteFrame.h"
#include "resfile/CTGResFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

struct WholeSprite {
    SpriteFormat format = SpriteFormat::Spr2;
    std::vector<SpriteFrame> frames; // every frame, each with its three planes
    std::string error;               // empty when every frame decoded

    bool ok() const { return error.empty(); }
};

// 'SPR#' `id`, else 'SPR2' `id` (as the game looks them up), every frame
// decoded with its palette. Fails, saying why, when there is no such
// sprite, it holds more than `mostFrames` frames, or a frame does not decode.
WholeSprite LoadWholeSprite(CTGResFile& file, int16_t id, size_t mostFrames);

// Whether the frame leaves the pixel as a skipped one: nothing drawn.
bool IsSkippedPixel(const SpriteFrame& frame, int x, int y);

// The frame's colours through its palette with its alpha plane as alpha,
// 4 bytes a pixel in red, green, blue, alpha order; skipped pixels are
// (0, 0, 0, 0).
PlainImage FrameRgba(const SpriteFrame& frame);

} // namespace zelvane
