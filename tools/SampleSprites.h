#pragma once
// The pictures of one sample game object: its furniture model drawn in the
// twelve images of a draw group (4 directions × 3 zooms), cut into one
// 'SPR2' sprite per tile (frame i is image i), coloured through a 'PALT'
// palette chosen for the object, and the draw group images that place each
// tile's frame so that the tiles join up whole in the preview.

#include "resfile/CTGDrawGroup.h"
#include "tools/FurnitureModels.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

struct SampleTileGraphics {
    std::vector<uint8_t> sprite;        // 'SPR2' version 1000, 12 frames
    std::vector<DrawGroupImage> images; // 12 images; a tile with nothing to show in one has no reference there
};

struct SampleGraphics {
    std::vector<uint8_t> palette;          // 'PALT'
    std::vector<SampleTileGraphics> tiles; // tile (x, y) at index x · tilesY + y
    std::string error;                     // empty on success
};

// Frames carry the palette id; tile k's draw group images refer to sprite
// firstSpriteId + k. Each frame's origin is where its tile's centre lies in
// it. Fails (error set) only when the encoder refuses a frame.
SampleGraphics DrawSampleGraphics(FurnitureKind kind, int tilesX, int tilesY, int16_t firstSpriteId, int16_t paletteId);

} // namespace zelvane
