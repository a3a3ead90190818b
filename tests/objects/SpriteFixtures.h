#pragma once
// Fixtures for the sprite and preview tests, written byte by byte so each
// test shows what it feeds the decoder.

#include "objects/SpriteFrame.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffBuilder.h"
#include "tests/testkit/TestFiles.h"

#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

namespace zelvane::test {

using Bytes = std::vector<uint8_t>;

// Little-endian words, and byte strings joined.
Bytes Words(std::initializer_list<uint16_t> words);
Bytes Join(std::initializer_list<Bytes> parts);

// Frames: a 'SPR2' header (origin (5, -3)) or a 'SPR#' header, then `commands`.
Bytes Spr2Frame(uint16_t width, uint16_t height, const Bytes& commands, int16_t palette = -1);
Bytes SprFrame(int16_t width, int16_t height, const Bytes& commands);
// Version, frame count, palette id, offsets, frames; numbers big-endian on request.
Bytes SpriteResource(uint32_t version, uint32_t palette, const std::vector<Bytes>& frames, bool bigEndian = false);

// A version 20004 draw group of 12 images with `sprites` in image `image`.
Bytes DrawGroup20004(const std::vector<DrawGroupSprite>& sprites, uint32_t image = 10);
DrawGroupSprite Reference(int32_t id, int32_t frame, int32_t dx, int32_t dy, int32_t flags = 0);
// A 216-byte 'OBJD' record with the given words (word n at byte 2n).
Bytes ObjdRecord(const std::map<size_t, int16_t>& words);

// Solid planes; the frame names no palette of its own.
SpriteFrame SolidFrame(int width, int height, uint8_t colour, uint8_t depth = 0x80, uint8_t alpha = 0xFF);

// An IFF file of the chunks added, written to a temporary folder and opened.
class FixtureFile {
public:
    void Add(ResType type, int16_t id, const Bytes& data) { builder_.AddChunk(type, id, "", data, 0); }
    CTGIffFile& Open();

private:
    IffBuilder builder_;
    TempDir dir_;
    std::unique_ptr<CTGIffFile> file_;
};

} // namespace zelvane::test
