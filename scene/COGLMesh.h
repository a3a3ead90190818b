#pragma once
// An imported triangle mesh in the scene: the mesh set an import plug-in
// filled (named parts, each with faces, vertices and texture coordinates),
// compiled into one display list of triangles whose normals point from the
// mesh's origin through each vertex. An imported mesh is drawn at 1/20 of its
// file's size and turned 90° about x; the scene file stores its whole set.
//
// A mesh may have materials (ModelMaterials): face groups, each drawn in the
// shaded view with its material's colours and its texture, while the faces
// in no group keep the object's own material and texture. Wireframe drawing
// and picking use every face as one. Each group's texture starts as its
// material's and may be replaced; a texture that does not load leaves the
// group in its colours.

#include "plugins/host/ModelMaterials.h"
#include "plugins/host/ModelUnits.h"
#include "plugins/interface/MeshSet.h"
#include "scene/COGLObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

class COGLTexture2D;

// One face group as a panel lists it.
struct MeshGroupInfo {
    std::size_t part = 0;
    std::size_t group = 0;
    std::int32_t material = 0;       // index into Materials().materials
    std::string materialName;
    std::int32_t faceCount = 0;
    std::string texturePath;         // the group's texture file; empty for none
    bool textureShown = false;       // it loaded and is drawn
};

// A texture file that did not load, and why.
struct MissingTexture {
    std::string path;
    std::string problem;
};

// Where a mesh's shape came from: the model file it was imported from, and
// every move of its shape since (MoveShape), in order. Importing the file
// again and making the same moves gives the same vertices, bit for bit, so a
// scene can be described by model paths and written again unchanged.
struct MeshSource {
    std::string modelPath; // empty: not known (an older scene file)
    std::vector<Vector3> shapeMoves;

    friend bool operator==(const MeshSource&, const MeshSource&) = default;
};

class COGLMesh final : public COGLObject {
public:
    // From an import: keeps `set`'s arrays where the plug-in made them (the
    // host keeps them for the process) and compiles the list (the context is
    // current). `set` keeps the plug-in contract (CheckMeshSet); faces that
    // point outside their part are left out all the same. The cage spans the
    // set's extents; scale 0.05 on every axis; turned 90° about (1, 0, 0).
    explicit COGLMesh(const MeshSet& set);
    // The same with the set's materials (checked: CheckModelMaterials); their
    // textures are read at once, quietly: MissingTextures() lists those that
    // did not load. With `units` that say how long the file's unit is and
    // which way is up, the mesh is set up at the game's proportions instead
    // (ImportScale) and turned only when its up is not the scene's (+y).
    COGLMesh(const MeshSet& set, ModelMaterials materials, const ModelUnits& units = {});
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

    // Drawn with the face groups' materials when shaded; otherwise as every object.
    void Draw(DrawFlags flags) override;

    const MeshSet& GetMeshSet() const { return meshSet_; }

    // --- How the import set the mesh up ---

    // The scale on every axis that an import with `units` gives a mesh:
    // metres become scene units (kSceneUnitsPerMetre); unknown units the
    // 3D Studio scale of 1/20.
    static float ImportScale(const ModelUnits& units);
    // The scale and up axis the mesh was imported with (unknown units count
    // as 3D Studio's: 1/20, +z up). A mesh read from a scene file keeps its
    // stored transform and reports these defaults.
    float DefaultScale() const { return defaultScale_; }
    UpAxis DefaultUpAxis() const { return defaultUp_; }

    // --- Shape ---

    // A copy for the Copy command: the same faces, vertices and coordinates
    // (shared, not duplicated; a scene file stores each mesh's whole set
    // all the same), the same materials and group textures, lists of its
    // own, and what CopyFrom copies. The context is current.
    static std::unique_ptr<COGLMesh> CopyOf(const COGLMesh& source);
    // The box the vertices span, in the mesh's own units (empty without a
    // finite vertex).
    Box3 VertexBox() const;
    // Moves every vertex by `by` (the mesh's own units), so that the point
    // the mesh is placed, turned and scaled about lies elsewhere in its
    // shape: an import's origin moved to the middle of its box makes Rotate
    // turn it in place. The arrays become the mesh's own (a copy's stay as
    // they were) and the lists are made anew; the context is current.
    void MoveShape(const Vector3& by);

    // --- Where it came from ---

    const MeshSource& Source() const { return source_; }
    // The model file an import read it from (shape moves so far are kept).
    void SetModelPath(std::string path) { source_.modelPath = std::move(path); }
    // What a scene file says about it; LoadObject leaves it unknown.
    void SetSource(MeshSource source) { source_ = std::move(source); }

    // --- Materials ---

    bool HasMaterials() const { return !materials_.Empty(); }
    const ModelMaterials& Materials() const { return materials_; }
    // Every face group, part by part.
    std::vector<MeshGroupInfo> Groups() const;
    // Gives the materials (checked against the set) and each group's texture
    // file (one path per group of `materials`, part by part; empty for none),
    // recompiles the lists and reads the textures quietly. A texture file
    // that is not where its path says is looked for by name in
    // `searchFolder` (when given), without regard to case.
    void SetMaterials(ModelMaterials materials, std::vector<std::vector<std::string>> groupTextures,
                      const std::string& searchFolder = {});
    // Replaces the texture of group `group` of part `part` by the picture at
    // `path` (an empty path takes the texture away). False, with `problem`
    // saying why and the group unchanged, when there is no such group or the
    // picture does not load.
    bool SetGroupTexture(std::size_t part, std::size_t group, const std::string& path, std::string& problem);
    // Gives the group `path` as it is, also when the picture does not load
    // (the group then shows its colours): putting back what a group had.
    // Nothing when there is no such group.
    void RestoreGroupTexture(std::size_t part, std::size_t group, const std::string& path);
    // The groups' texture files, part by part.
    const std::vector<std::vector<std::string>>& GroupTexturePaths() const { return groupTexturePaths_; }
    // The texture files of the groups that did not load, each once.
    std::vector<MissingTexture> MissingTextures() const;
    // One message for the user naming every texture file of the model
    // `modelFile` that did not load and why; empty when all did.
    std::string MissingTexturesText(std::string_view modelFile) const;

    // The materials' part of a scene file (see SceneFileLayout.h): the
    // material table and each part's groups with their texture files.
    void SaveMaterials(SceneFileWriter& file) const;
    // What SaveMaterials wrote, read and checked against the mesh's set (the
    // caller gives it to the mesh with SetMaterials). Materials that do not
    // fit the mesh fail `file` with the reason.
    struct StoredMaterials {
        ModelMaterials materials;
        std::vector<std::vector<std::string>> groupTextures;
    };
    StoredMaterials ReadMaterials(SceneFileReader& file) const;
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
    void CallList(GLuint list) const override;
    void DrawGroups() const;
    // Reads the texture of every group path not read yet; quietly.
    void LoadGroupTextures(const std::string& searchFolder);
    COGLTexture2D* TextureFor(const std::string& path) const;

    void SetUpForImport(const ModelUnits& units);

    MeshSet meshSet_{};
    float defaultScale_ = 0.05f;
    UpAxis defaultUp_ = UpAxis::Z;
    GLuint meshSolidList_ = 0;
    GLuint meshWireList_ = 0;
    // The arrays meshSet_ points into when they were read from a scene file
    // or moved (MoveShape); shared with copies, never changed once made.
    std::shared_ptr<const Storage> storage_;
    // The context generation the list was made in (ActiveGLContextGeneration).
    std::uint64_t listGeneration_ = 0;

    MeshSource source_;
    ModelMaterials materials_;
    std::vector<std::vector<std::string>> groupTexturePaths_;
    // Every texture file read for the groups, loaded or not, by path.
    std::vector<std::unique_ptr<COGLTexture2D>> groupTextures_;
    // With materials: lists of consecutive names from meshSolidList_: the
    // faces in no group, then every group part by part; meshSolidList_ calls
    // them all.
    GLuint ungroupedList_ = 0;
    GLsizei listCount_ = 0;
    struct GroupDraw {
        GLuint list = 0;
        std::size_t part = 0;
        std::size_t group = 0;
    };
    std::vector<GroupDraw> groupDraws_;
};

} // namespace zelvane
