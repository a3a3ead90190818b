#pragma once
// What modelport reads from a glTF or OBJ file before it hands it over: the
// parts with their arrays already in the C heap (so the hand-over moves
// them instead of copying), a material table, the face groups, the file's
// units and axis, and notes for the user about what was left out.

#include "plugins/interface/MeshSet.h"
#include "plugins/kit/MallocArray.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zelvane::modelport {

using pluginkit::MallocArray;

struct FaceGroup {
    int32_t material = 0;          // index into Model::materials
    MallocArray<int32_t> faces;    // positions in the part's faces
};

struct Part {
    std::string name;
    MallocArray<MeshVertex> vertices;
    MallocArray<MeshTexCoord> texCoords;
    MallocArray<MeshFace> faces;
    std::vector<FaceGroup> groups;
};

struct Material {
    std::string name;
    std::array<float, 3> ambient{0.2f, 0.2f, 0.2f};
    std::array<float, 3> diffuse{0.8f, 0.8f, 0.8f};
    std::array<float, 3> specular{0.0f, 0.0f, 0.0f};
    float shininess = 0.0f;
    float opacity = 1.0f;
    bool twoSided = false;
    std::string texturePath; // absolute, or empty
};

// Counts of what was left out, each said once in the notes.
struct Dropped {
    uint64_t facesOutside = 0;   // an index past its array
    uint64_t facesNotFinite = 0; // a corner at a position that is no number
    uint64_t pointsAndLines = 0; // primitives that are no triangles
};

struct Model {
    std::vector<Part> parts;
    std::vector<Material> materials;
    float metresPerUnit = 1.0f;
    int32_t upAxis = 0; // ZELPLUG_UP_*
    Dropped dropped;
    std::vector<std::string> notes;
    // Set when nothing could be read: the first note says why.
    bool refused = false;

    void Note(std::string text) { notes.push_back(std::move(text)); }
    // Refuses the file with `why` as its first note.
    void Refuse(std::string why)
    {
        refused = true;
        parts.clear();
        notes.insert(notes.begin(), std::move(why));
    }
};

// Limits that keep a hostile file from taking the editor's memory: a model
// of more triangles or vertices than these is refused before anything of
// that size is allocated.
inline constexpr uint64_t kMaxTriangles = uint64_t{1} << 25;
inline constexpr uint64_t kMaxVertices = uint64_t{1} << 25;
// Elements of an accessor without data of its own (all zeros but for its
// sparse substitutes): nothing bounds them by the file's size.
inline constexpr uint64_t kMaxDatalessElements = uint64_t{1} << 20;
inline constexpr uint64_t kMaxParts = 1u << 20;

} // namespace zelvane::modelport
