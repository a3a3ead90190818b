#pragma once
// The manifest of a folder of exported sprites ("sprites.json"): which
// objects and tiles the sprites belong to, every frame of every sprite with
// its size, origin and palette, the image files that hold its colour (with
// alpha) and depth, or where it lies in its object's sheet, and the colours
// of the palettes the frames use.
//
// Reading it back validates every field (type, range, plain file names that
// cannot leave the folder, frames in order, places inside their sheet)
// before anything is allocated for what it describes, and names the field
// at fault: `sprites[2].frames[5].width: ...`.

#include "objects/Palette.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

inline constexpr int kSpriteManifestVersion = 1;
inline constexpr const char* kSpriteManifestName = "sprites.json";

// Limits of what a manifest may describe, far above real objects.
inline constexpr size_t kMaxManifestBytes = size_t{4} << 20;
inline constexpr size_t kMaxManifestNesting = 16;
inline constexpr size_t kMaxManifestSprites = 4096;
inline constexpr size_t kMaxManifestFrames = 4096; // per sprite
inline constexpr size_t kMaxManifestObjects = 1024;
inline constexpr size_t kMaxManifestTiles = 256;   // per object
inline constexpr int kMaxSheetSide = 16384;
inline constexpr uint64_t kMaxSheetPixels = uint64_t{64} << 20;
inline constexpr size_t kMaxImageNameLength = 200;

// The three zooms by name, largest first (zoom shift 0, 1, 2).
inline constexpr const char* kZoomNames[] = {"large", "medium", "small"};

struct ManifestTile {
    int16_t definitionId = 0;
    int x = 0;
    int y = 0;
    int level = 0;
};

struct ManifestSheet {
    std::string image; // colour and alpha
    std::string depth;
    int width = 0;
    int height = 0;
};

struct ManifestObject {
    int16_t id = 0;
    std::string name;
    uint32_t guid = 0;
    std::vector<ManifestTile> tiles;
    std::optional<ManifestSheet> sheet;
};

// Where a frame is shown first: tile (index in its object's tiles),
// direction 0 to 3 and zoom shift 0 to 2 of the draw group image.
struct ManifestPlace {
    int tile = 0;
    int direction = 0;
    int zoomShift = 0;
};

struct ManifestFrame {
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
    int32_t paletteId = 0;
    std::optional<ManifestPlace> shown;
    // The frame's own files; `image` is empty when the frame lies in its
    // object's sheet at (sheetX, sheetY). `depth` may be empty.
    std::string image;
    std::string depth;
    int sheetX = 0;
    int sheetY = 0;

    bool InSheet() const { return image.empty(); }
};

struct ManifestSprite {
    int16_t id = 0;
    std::string type;  // "SPR2" or "SPR#", as exported (informational)
    int16_t object = 0; // the object whose palette it gets: one of the manifest's
    std::vector<ManifestFrame> frames; // frame i at index i
};

struct ManifestPalette {
    int32_t id = 0;
    Palette colours;
};

struct SpriteManifest {
    std::string objectFile; // the file exported from, as named (informational)
    std::vector<ManifestObject> objects;
    std::vector<ManifestSprite> sprites;
    std::vector<ManifestPalette> palettes;

    const ManifestObject* FindObject(int16_t id) const;
};

// The manifest as indented JSON text.
std::string WriteSpriteManifest(const SpriteManifest& manifest);

// Reads a manifest. False, with `error` naming the field and what is wrong
// with it, for text that is not JSON, another version, or any field
// missing, of the wrong type or out of range; `manifest` is then empty.
[[nodiscard]] bool ParseSpriteManifest(std::string_view text, SpriteManifest& manifest, std::string& error);

// Whether `name` can name a file of the folder: not empty, at most
// kMaxImageNameLength bytes, no path separator, no control character, not
// "." or "..".
bool IsPlainFileName(std::string_view name);

} // namespace zelvane
