#pragma once
// Every sprite an object's draw groups use, as pictures a person can paint:
// per frame an RGBA picture (its colours through its palette, its alpha
// plane as alpha) and a grey picture of its depth plane, or, as one sheet
// per object, every frame of the object laid out in a grid; and the
// manifest that maps each picture back to its sprite and frame.
//
// The object's tiles are its members (a multi-tile object) or itself; their
// draw groups are all of each tile's (word 3 on, word 4 of them), and every
// frame of every sprite they name is exported, shown or not, since an
// import writes each sprite whole. A sprite shown by several objects is
// exported once, with the first. A frame is named after the place that
// shows it first: "chair-128-t0-dir2-large-s200-f2.png" (object name and
// id, tile, direction, zoom, sprite, frame), its depth
// "...-f2-depth.png"; a frame no image shows "chair-128-s200-f7.png".
//
// The sheet of an object ("chair-128-sheet.png" and "...-sheet-depth.png")
// holds a row per tile and zoom, the four directions from left to right,
// then a row of the frames no image shows, 4 pixels apart.
//
// Pictures are the program's own images, for the caller to write in a file
// format of its choice: 4 bytes a pixel (red, green, blue, alpha) for
// colour, 1 (grey) for depth. Nothing here writes a file.

#include "objects/CObjectFile.h"
#include "objects/PlainImage.h"
#include "spriteio/SpriteManifest.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvane {

enum class SpriteLayoutChoice { FramePerFile, SheetPerObject };

struct SpriteExportOptions {
    std::optional<int16_t> objectId; // the object with this OBJD id; else every listed object
    SpriteLayoutChoice layout = SpriteLayoutChoice::FramePerFile;
    std::string objectFileName;      // for the manifest
};

struct ExportedImage {
    std::string name; // a plain file name
    PlainImage image;
};

struct SpriteExport {
    SpriteManifest manifest;
    std::vector<ExportedImage> images;
    // Sprites left out (missing, damaged), and why.
    std::vector<std::string> notes;
    std::string error; // empty on success

    bool ok() const { return error.empty(); }
};

// Fails when the object is not in the file, no sprite could be exported, or
// a sheet would exceed kMaxSheetSide or kMaxSheetPixels.
SpriteExport ExportSprites(const CObjectFile& file, const SpriteExportOptions& options);

} // namespace zelvane
