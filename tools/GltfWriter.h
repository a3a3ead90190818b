#pragma once
// Writes glTF 2.0 models (.glb, or .gltf with one .bin beside it) from plain
// records, for test and fuzz fixtures, the benchmark's large model and the
// sample game's meshes. Layouts can be chosen (index types, interleaved
// vertices, sparse positions, strips and fans), so that a reader's every
// path is exercised; damaged files are made by editing the JSON or bytes
// this writes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvane {

namespace gltf {
constexpr int kUnsignedByte = 5121;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;
constexpr int kTriangles = 4;
constexpr int kTriangleStrip = 5;
constexpr int kTriangleFan = 6;
constexpr int kLines = 1;
} // namespace gltf

struct GltfPrimitive {
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 2>> texCoords; // none when empty
    std::vector<uint32_t> indices;               // none (drawn in order) when empty
    int indexType = gltf::kUnsignedInt;
    int mode = gltf::kTriangles;
    int material = -1;
    // Positions and texture coordinates in one buffer view, 20 bytes a vertex.
    bool interleaved = false;
    // Positions given as zeros plus these substitutions (a sparse accessor).
    std::vector<std::pair<uint32_t, std::array<float, 3>>> sparsePositions;
};

struct GltfMeshRecord {
    std::string name;
    std::vector<GltfPrimitive> primitives;
};

struct GltfMaterialRecord {
    std::string name;
    std::array<float, 4> baseColour{1, 1, 1, 1};
    int image = -1;                // through a texture of its own
    std::string alphaMode;         // "", "OPAQUE", "MASK", "BLEND"
    bool doubleSided = false;
    // Written as KHR_materials_pbrSpecularGlossiness's diffuse instead.
    bool specularGlossiness = false;
};

struct GltfImageRecord {
    std::vector<uint8_t> bytes;    // inside the binary buffer
    std::string mimeType = "image/png";
    std::string uri;               // when set: named by URI instead of bytes
};

struct GltfNodeRecord {
    std::string name;
    int mesh = -1;
    std::vector<int> children;
    std::optional<std::array<float, 16>> matrix; // column-major
    std::optional<std::array<float, 3>> translation;
    std::optional<std::array<float, 4>> rotation; // x, y, z, w
    std::optional<std::array<float, 3>> scale;
};

struct GltfModelRecord {
    std::vector<GltfMeshRecord> meshes;
    std::vector<GltfMaterialRecord> materials;
    std::vector<GltfImageRecord> images;
    std::vector<GltfNodeRecord> nodes;
    std::vector<int> sceneNodes; // the default scene's roots
    std::vector<std::string> extensionsRequired;
};

struct GltfFiles {
    std::string json;
    std::vector<uint8_t> bin;
};

// The JSON and the one buffer's bytes; the buffer is named `binUri`, or is
// the binary chunk when `binUri` is empty.
GltfFiles WriteGltfParts(const GltfModelRecord& model, const std::string& binUri);
// A .glb: header, JSON chunk, binary chunk.
std::vector<uint8_t> WriteGlb(const GltfModelRecord& model);
// A .glb of the given JSON text and binary chunk, as they are.
std::vector<uint8_t> PackGlb(const std::string& json, const std::vector<uint8_t>& bin);

} // namespace zelvane
