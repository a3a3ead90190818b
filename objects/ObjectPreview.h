#pragma once
// `ComposeObjectPreview`: an object's sprites composed into one picture as
// the game draws the object, with a mask of the pixels it covers.
//
// Placement, for the tile at (x, y, level) and a sprite reference with pixel
// offsets (value 2, value 3), in a top-down image at full size facing
// direction 2 (image index 10): the frame's left edge at
// value 2 + 64·y − 64·x, its bottom edge at value 3 − 32·x − 32·y − 50·level
// (one level up is drawn higher), its top edge a frame's height above that.
// This keeps every tile of a real multi-tile object joined. The pixel
// offsets count whatever a reference's values 4 to 6 hold (version 20004
// draw groups carry non-zero floats there on references whose offsets
// matter). Other image indices turn the tile offsets with the direction
// (index mod 4) and halve them per zoom step (index ÷ 4 below 2).
//
// Limits: a frame that would lie partly outside ±kPreviewPlacementLimit
// pixels of the object's anchor is left out (so a damaged draw group cannot
// make the image huge), and every copy is clipped to the image.

#include "objects/Palette.h"
#include "objects/PlainImage.h"
#include "objects/PreviewTile.h"
#include "resfile/CTGResFile.h"

#include <span>
#include <string>
#include <vector>

namespace zelvane {

// What the base object list composes.
inline constexpr int kPreviewImageIndex = 10;
inline constexpr Rgb kPreviewBackground = Rgb::FromHex(0xFFFFFF);
inline constexpr int kPreviewPlacementLimit = 2048;

struct ObjectPreview {
    PlainImage colour; // 24-bit
    PlainImage mask;   // 8-bit, grey palette: 255 where the object is opaque
    // Where the object's anchor (tile (0, 0, 0), offsets 0) lies in the image.
    int anchorX = 0;
    int anchorY = 0;
    // Draw groups and sprites that could not be drawn, and why.
    std::vector<std::string> notes;
};

// Composes image `imageIndex` (0 to 11) of the tiles' draw groups from
// `file`; the pixels not covered keep `background`. With nothing drawable
// the result is 17 × 17 pixels of background. An image index outside 0 to
// 11 gives null images and a note.
// At most `pixelBudget` decoded sprite pixels are kept: frames beyond it are
// left out with a note, so a small hostile file naming one huge sprite many
// times cannot make a preview take gigabytes.
inline constexpr int64_t kPreviewPixelBudget = int64_t{32} << 20;
ObjectPreview ComposeObjectPreview(CTGResFile& file, std::span<const PreviewTile> tiles,
                                   int imageIndex = kPreviewImageIndex, Rgb background = kPreviewBackground,
                                   int64_t pixelBudget = kPreviewPixelBudget);

} // namespace zelvane
