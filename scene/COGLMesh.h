#pragma once
// An imported triangle mesh in the scene: the mesh set an import plug-in
// filled (named parts, each with faces, vertices and texture coordinates),
// compiled into one display list of triangles whose normals point from the
// mesh's origin through each vertex. An imported mesh is drawn at 1/20 of its
// file's size and turned 90° about x; the scene file stores its whole set.

#include "plugins/interface/MeshSet.h"
#include "scene/COGLObject.h"

#include <cstdint>
#include <memory>

namespace zelvane {

class COGLMesh final : public COGLObject {
public:
    // From an import: keeps `set`'s arrays where the plug-in made them (the
    // host keeps them for the process) and compiles the list (the context is
    // current). `set` keeps the plug-in contract (CheckMeshSet); faces that
    // point outside their part are left out all the same. The cage spans the
    // set's extents; scale 0.05 on every axis; turned 90° about (1, 0, 0).
    explicit COGLMesh(const MeshSet& set);
    // Empty, for the scene file reader: LoadObject fills it.
    COGLMesh();
    // Deletes the list (in the context it was made in); arrays read from a
    // scene file go with the mesh, an import's stay with the host.
    ~COGLMesh() override;

    // The common record, then the mesh set: its name, its parts (name, faces,
    // vertices, texture coordinates, each counted) and its three extents.
    void SaveObject(SceneFileWriter& file, std::int32_t textureIndex) const override;
    // Reads what SaveObject wrote into arrays of the mesh's own and compiles
    // the list. The name becomes "Mesh" whatever the record holds; the cage
    // spans the stored extents. Counts larger than the bytes left, and faces
    // that point outside their part, fail `file` with the reason before
    // anything is made of them.
    std::int32_t LoadObject(SceneFileReader& file) override;

    const MeshSet& GetMeshSet() const { return meshSet_; }
    // Both name the one list: the two would be compiled alike, so a mesh keeps
    // a single copy of its triangles (meshes look filled in wireframe mode).
    GLuint MeshSolidList() const { return meshSolidList_; }
    GLuint MeshWireList() const { return meshWireList_; }
    // Faces of every part.
    std::int64_t TriangleCount() const;

private:
    struct Storage;

    void CompileLists();
    void DeleteLists();

    MeshSet meshSet_{};
    GLuint meshSolidList_ = 0;
    GLuint meshWireList_ = 0;
    // The arrays meshSet_ points into when they were read from a scene file.
    std::unique_ptr<Storage> storage_;
    // The context generation the list was made in (ActiveGLContextGeneration).
    std::uint64_t listGeneration_ = 0;
};

} // namespace zelvane
