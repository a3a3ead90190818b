#pragma once
// Painted pictures back into an object file's sprites.
//
// The manifest says which sprites the pictures replace; each sprite is
// written whole, every frame from its picture: colours quantised into one
// palette per object of the manifest (the bake's quantiser, optionally
// dithered), alpha from the picture's alpha (kept in the 32 levels 'SPR2'
// stores), depth from the depth picture when there is one and the frame's
// own depth otherwise. Frames keep their size and origin: a picture of
// another size is refused. Sprites are written as the bake writes them
// ('SPR2' version 1000, colour, depth and alpha; a 'SPR#' gives way to the
// 'SPR2' of its id), with transparent index 2.
//
// Pixels: a pixel of alpha 0 is not drawn, unless the frame already drew it
// with alpha 0 there (so that an untouched frame comes back the same). A
// pixel drawn where the frame drew nothing and whose depth says "nothing"
// (255) takes the depth of the nearest drawn pixel of its row, else of its
// column, else 254: a painted pixel without depth would never show.
//
// The palette of an object's sprites: one they use now, unless a sprite
// that stays uses it too; else a free id (as the bake chooses).
//
// Nothing is written unless everything is right: the manifest matches the
// file (every sprite there with as many frames of the stated sizes and
// origins), every picture reads and has its frame's size. Then the object
// file is replaced in one step (resfile/FileReplacement): a copy of it is
// edited beside it with the resource library, so every other resource
// keeps its bytes, and moved over it when complete.

#include "objects/PlainImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

enum class SpriteImageKind {
    Colour, // 4 bytes a pixel: red, green, blue, alpha
    Depth,  // 1 byte a pixel: grey
};

// Where the manifest and the pictures come from (a folder of PNG files,
// for instance); names are the manifest's plain file names.
class SpriteImageReader {
public:
    virtual ~SpriteImageReader() = default;

    // The manifest's text. False, with `error`, when it cannot be read.
    [[nodiscard]] virtual bool ReadManifest(std::string& text, std::string& error) = 0;
    // Whether a picture of this name is there at all.
    virtual bool Has(const std::string& name) = 0;
    // Picture `name` of `kind`, which must be `width` × `height` pixels: a
    // picture of another size is refused before its pixels are decoded.
    // False, with `error` saying what is wrong, when it is missing, not a
    // picture, or of another size.
    [[nodiscard]] virtual bool ReadImage(const std::string& name, SpriteImageKind kind, int width, int height,
                                         PlainImage& image, std::string& error) = 0;
    // How messages name `name` (its path); the manifest is kSpriteManifestName.
    virtual std::string PathOf(const std::string& name) const = 0;
};

enum class Dithering { Off, On };

struct SpriteImportOptions {
    Dithering dithering = Dithering::Off;
};

struct ImportedPalette {
    int16_t object = 0;    // the manifest's object
    int16_t paletteId = 0; // written
    int colours = 0;
    double psnr = 0;       // of the palette's colours against the pictures' drawn pixels
};

struct SpriteImportResult {
    // On failure: the file at fault (a picture, the manifest or the object
    // file) and what is wrong with it; nothing was written.
    std::string subject;
    std::string error;
    // On success: the object file's bytes before the import, so that the
    // editor can undo it by writing them back (WriteFileSafely).
    std::vector<uint8_t> previousBytes;
    int sprites = 0;
    int frames = 0;
    std::vector<ImportedPalette> palettes;

    bool ok() const { return error.empty(); }
};

// Imports into the object file at `objectFilePath` (opened by itself, for a
// change: it must be writable and not inside an archive).
SpriteImportResult ImportSprites(const std::string& objectFilePath, SpriteImageReader& images,
                                 const SpriteImportOptions& options = {});

} // namespace zelvane
