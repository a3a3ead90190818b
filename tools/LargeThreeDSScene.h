#pragma once
// A large 3D Studio scene for the import benchmark: many torus-shaped
// objects, each a grid of vertices with mapping coordinates, its faces split
// into material groups over textured materials, with a local matrix; now and
// then a camera object without a mesh, as real scenes have. Materials carry
// ambient, diffuse and specular colours, shininess, and now and then
// transparency or two sides. The same options
// always give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

struct LargeSceneOptions {
    uint32_t objects = 300;
    uint32_t grid = 60;      // vertices per side of each object's grid (2..255)
    uint32_t materials = 12;
    uint32_t groupsPerObject = 3;
    uint32_t seed = 1;
    // The extension of the texture files the materials name ("tex<N>.<ext>").
    std::string textureExtension = "bmp";
};

struct LargeScene {
    std::vector<uint8_t> bytes;
    uint64_t meshes = 0;
    uint64_t vertices = 0;
    uint64_t faces = 0;
};

LargeScene MakeLargeThreeDSScene(const LargeSceneOptions& options);

} // namespace zelvane
