#pragma once
// A rounded block as a plug-in hands over a mesh (MeshSet): the
// superellipsoid |x/a|^(2/e) + |y/b|^(2/e) + |z/c|^(2/e) = 1 cut into a grid
// of quads, two triangles each, centred on its origin. Exponent 1 gives an
// ellipsoid, 0.5 a sofa-like block with rounded edges. Imported meshes take
// their normals from their origin through each vertex, so a shape centred on
// it is shaded as a smooth surface. For benchmarks and tests of the bake.

#include "plugins/interface/MeshSet.h"

#include <vector>

namespace zelvane {

struct RoundedMeshShape {
    int triangles = 100000;       // about this many
    float halfX = 0.45f;          // half extents along the mesh's axes
    float halfY = 0.4f;
    float halfZ = 0.95f;
    float exponent = 0.5f;        // e above
};

class RoundedMesh {
public:
    explicit RoundedMesh(const RoundedMeshShape& shape);
    RoundedMesh(const RoundedMesh&) = delete;
    RoundedMesh& operator=(const RoundedMesh&) = delete;

    // Points into this object; valid while it lives.
    const MeshSet& Set() const { return set_; }

private:
    std::vector<MeshVertex> vertices_;
    std::vector<MeshFace> faces_;
    std::vector<MeshTexCoord> texCoords_ = {{0.0f, 0.0f}}; // every face names one
    MeshPart part_{};
    MeshSet set_{};
};

} // namespace zelvane
