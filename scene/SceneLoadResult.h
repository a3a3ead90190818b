#pragma once
// What reading a scene file's records came to.

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

// One texture record of the file and what became of it.
struct StoredTexture {
    std::string storedPath; // as the file holds it
    std::uint8_t flag = 0;
    std::string foundPath;  // where the locator found it; empty: dropped
};

struct SceneLoadResult {
    // Empty when every record was read; otherwise what stopped the reading
    // and where. What was read before it stays in the scene.
    std::string error;
    // The user cancelled the search for a texture (the scene was read all the
    // same, without those textures).
    bool searchCancelled = false;
    std::vector<StoredTexture> textures;
    std::size_t objectsRead = 0;
    // The texture each object read names: its position among `textures`,
    // also for one that was dropped; −1 for none.
    std::vector<std::int32_t> objectTextures;
    // Texture files of the meshes' face groups that did not load.
    std::vector<std::string> missingModelTextures;

    bool Complete() const { return error.empty(); }
};

} // namespace zelvane
