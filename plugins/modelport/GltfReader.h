#pragma once
// glTF 2.0 models, as JSON (.gltf, with buffers and pictures in files beside
// it or in data: URIs) or binary (.glb, with a buffer and pictures inside),
// read into modelport's Model: the meshes that the default scene's node tree
// reaches, each primitive of each node a part, its vertices moved by the
// node's whole transform; triangles, strips and fans; the first texture
// coordinates; the materials' base colours, textures, alpha and sides.

#include "plugins/modelport/ModelData.h"

#include <cstdint>
#include <span>
#include <string>

namespace zelvane::modelport {

struct GltfOptions {
    // Where the file lies: buffers and pictures it names by relative URI are
    // looked for beside it. Empty: such files are not read.
    std::string modelPath;
    // Where pictures inside the file are written (ending in "/"); empty: they
    // are left out with a note.
    std::string cacheFolder;
};

// Reads `bytes` (a .glb, or the JSON of a .gltf). Never reads outside a
// buffer: an accessor that does not fit its buffer view, or a view its
// buffer, is left out with a note, as are faces whose indices point past
// their vertices and faces with a corner that is no finite number. A file
// that is no glTF 2.0, or that requires an extension this reader lacks
// (Draco compression among them), comes back refused, the first note saying
// why. Throws std::bad_alloc when memory runs out.
Model ReadGltf(std::span<const uint8_t> bytes, const GltfOptions& options);

// Whether `bytes` begin as a binary glTF file ("glTF").
bool IsBinaryGltf(std::span<const uint8_t> bytes);

} // namespace zelvane::modelport
