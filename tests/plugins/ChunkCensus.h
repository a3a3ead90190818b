#pragma once
// An independent count of the triangle meshes in a 3D Studio file, for
// checking the importer against: a plain recursive walk of the chunk tree
// that shares no code with meshport and trusts nothing but well-formed files.

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane::test {

struct MeshCensus {
    std::string objectName;
    uint32_t vertices = 0; // as the vertex list's count says
    uint32_t faces = 0;    // as the face list's count says
    uint32_t mapping = 0;  // as the mapping list's count says; 0 without one
};

struct ChunkCensus {
    std::vector<MeshCensus> meshes; // one per triangle-mesh chunk, in file order
    std::string error;              // empty when every chunk fit inside its parent
};

ChunkCensus CountMeshes(const std::vector<uint8_t>& bytes);

} // namespace zelvane::test
