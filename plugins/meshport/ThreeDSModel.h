#pragma once
// What meshport reads from a 3D Studio file: the triangle meshes of its
// objects (one MeshObject per triangle-mesh chunk, in file order) and its
// materials. Vertex, mapping and face arrays are kept in the layout the host
// receives, so handing them over copies nothing.

#include "plugins/interface/MeshSet.h"
#include "plugins/kit/MallocArray.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvane::meshport {

using pluginkit::MallocArray;

// A face material group: the faces of one mesh drawn with one material.
struct FaceGroup {
    std::string materialName;
    std::vector<uint16_t> faces;  // face numbers as stored, possibly past the last face
    uint32_t material = 0;        // running number of the material, after resolution
};

struct MeshObject {
    std::string name;             // at most 11 characters; "Default name" when empty
    MallocArray<MeshVertex> vertices;
    // Mapping coordinates as read (any length); the part gets one per vertex.
    MallocArray<MeshTexCoord> mapping;
    // Corners as stored (texture corners equal vertex corners); they may lie
    // past the vertex list until the set is built.
    MallocArray<MeshFace> faces;
    std::vector<uint32_t> faceMaterials; // one per face, 0 until resolved
    std::vector<uint8_t> faceInGroup;    // one per face: 1 when a group lists it
    std::vector<FaceGroup> groups;
    // The local matrix: the file's four rows of three, each row extended by a
    // fourth column (0, 0, 0, 1). Read, not applied.
    std::array<std::array<float, 4>, 4> matrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
};

struct Material {
    uint32_t number = 0; // running number in file order, from 0
    std::string name;
    std::array<uint8_t, 3> ambient{}; // red, green, blue
    std::array<uint8_t, 3> diffuse{204, 204, 204};
    std::array<uint8_t, 3> specular{};
    // Percentages as fractions of 1: shininess, its strength, transparency.
    float shininess = 0.0f;
    float shininessStrength = 1.0f;
    float transparency = 0.0f;
    bool twoSided = false;
    std::string textureFile;          // texture map 1; empty when none
};

// What the trace file says of the last face material group read: its face
// count and each (position in the group, face number) above 15000.
struct GroupTrace {
    size_t faceCount = 0;
    std::vector<std::pair<size_t, uint16_t>> tracedFaces;
};

struct ThreeDSModel {
    bool accepted = false; // the file starts with the main chunk
    std::vector<MeshObject> objects;
    std::vector<Material> materials;
    // The file has no material: the one in `materials` was made up for it.
    bool madeUpMaterial = false;
    std::optional<GroupTrace> trace;
};

} // namespace zelvane::meshport
