#pragma once
// The sample game folder that ships with zelvane, so the editor is useful in
// its first minute with no game installed. It follows the game's layout:
// GameData/Objects/ with loose object files, a FAR archive holding more and
// one object with a ".spf" sprite companion; GameData/UserObjects/;
// Downloads/; and one of the game's system files, which the catalog leaves
// out. The objects carry believable names, prices, descriptions and room and
// function flags, single- and multi-tile, sprites that draw each as the
// piece of furniture it is in all twelve views (SampleSprites.h), catalog
// strings (one in the older CATS form), string lists in several layouts and
// behaviour code that refers to the objects' GUIDs.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zelvane {

struct SampleObjectInfo {
    std::string file;    // relative to the game folder
    std::string name;    // catalog name
    uint32_t guid = 0;
    int16_t price = 0;
    int tiles = 0;       // 0 for a single-tile object
};

struct SampleGameResult {
    std::vector<SampleObjectInfo> objects;
    std::string error; // empty on success
};

// Writes the sample game below `out` (created when missing; its files are
// replaced). The content never changes from one run to the next.
SampleGameResult WriteSampleGame(const std::filesystem::path& out);

} // namespace zelvane
