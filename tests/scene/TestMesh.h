#pragma once
// Mesh sets with arrays of their own, for tests: what a plug-in would hand
// over, kept alive by the test.

#include "plugins/interface/MeshSet.h"

#include <string>
#include <vector>

namespace zelvane::test {

struct TestMeshPart {
    std::string name;
    std::vector<MeshFace> faces;
    std::vector<MeshVertex> vertices;
    std::vector<MeshTexCoord> texCoords;
};

struct TestMesh {
    std::string name;
    std::vector<TestMeshPart> parts;
    MeshVertex extents{1, 1, 1};

    // A set pointing into this mesh; valid while the mesh lives unchanged.
    MeshSet Set()
    {
        records_.clear();
        for (TestMeshPart& part : parts)
            records_.push_back({part.name.c_str(), part.faces.data(), static_cast<int32_t>(part.faces.size()),
                                part.vertices.data(), static_cast<int32_t>(part.vertices.size()),
                                part.texCoords.data(), static_cast<int32_t>(part.texCoords.size())});
        return {name.c_str(), static_cast<int32_t>(records_.size()), records_.data(), extents.x, extents.y, extents.z};
    }

private:
    std::vector<MeshPart> records_;
};

// A square of side 2 × `half` in the x-y plane (two triangles, texture
// coordinates at the corners) and an empty second part.
inline TestMesh SquareMesh(float half)
{
    TestMesh mesh;
    mesh.name = "square";
    mesh.extents = {half, half, 0};
    TestMeshPart square;
    square.name = "Plate";
    square.vertices = {{-half, -half, 0}, {half, -half, 0}, {half, half, 0}, {-half, half, 0}};
    square.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    square.faces = {{{0, 1, 2}, {0, 1, 2}}, {{0, 2, 3}, {0, 2, 3}}};
    mesh.parts.push_back(square);
    mesh.parts.push_back({"Nothing", {}, {}, {}});
    return mesh;
}

// A mesh whose parts have the given names, face counts and vertex counts
// (every face on the first vertex), for tests that count.
struct PartCounts {
    std::string name;
    int faces = 0;
    int vertices = 0;
};
inline TestMesh CountedMesh(const std::vector<PartCounts>& counts)
{
    TestMesh mesh;
    mesh.name = "counted";
    for (const PartCounts& count : counts)
        mesh.parts.push_back({count.name, std::vector<MeshFace>(static_cast<std::size_t>(count.faces)),
                              std::vector<MeshVertex>(static_cast<std::size_t>(count.vertices)),
                              std::vector<MeshTexCoord>(1)});
    return mesh;
}

} // namespace zelvane::test
