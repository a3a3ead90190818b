#include "scene/COGLMesh.h"

#include "plugins/host/MeshSetCheck.h"
#include "scene/ActiveGLContext.h"
#include "scene/GLBracket.h"
#include "scene/GLErrors.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace zelvane {

namespace {

constexpr float kImportedScale = 0.05f;
constexpr float kImportedTurn = 90.0f;

std::string_view TextOf(const char* text)
{
    return text ? std::string_view(text) : std::string_view();
}

// Counts are never negative in a checked set; a negative one writes nothing.
std::uint32_t CountOf(std::int32_t count)
{
    return count > 0 ? static_cast<std::uint32_t>(count) : 0;
}

} // namespace

// The arrays of a mesh read from a scene file. The set's pointers are made
// once everything is read, and nothing here changes afterwards.
struct COGLMesh::Storage {
    std::string name;
    std::vector<std::string> partNames;
    std::vector<std::vector<MeshFace>> faces;
    std::vector<std::vector<MeshVertex>> vertices;
    std::vector<std::vector<MeshTexCoord>> texCoords;
    std::vector<MeshPart> parts;

    MeshSet Link(const Vector3& extents)
    {
        parts.resize(partNames.size());
        for (std::size_t p = 0; p < parts.size(); ++p)
            parts[p] = MeshPart{partNames[p].c_str(),
                                faces[p].data(),
                                static_cast<std::int32_t>(faces[p].size()),
                                vertices[p].data(),
                                static_cast<std::int32_t>(vertices[p].size()),
                                texCoords[p].data(),
                                static_cast<std::int32_t>(texCoords[p].size())};
        return MeshSet{name.c_str(), static_cast<std::int32_t>(parts.size()), parts.data(),
                       extents.x,    extents.y,                              extents.z};
    }
};

COGLMesh::COGLMesh() : COGLObject(ObjectKind::Mesh, {}) {}

COGLMesh::COGLMesh(const MeshSet& set) : COGLObject(ObjectKind::Mesh, {}), meshSet_(set)
{
    SetExtent({set.extentX, set.extentY, set.extentZ});
    CompileLists();
    SetScale(kImportedScale, kImportedScale, kImportedScale);
    RotateAxisAngle({1.0f, 0.0f, 0.0f}, kImportedTurn);
}

COGLMesh::~COGLMesh()
{
    DeleteLists();
}

std::int64_t COGLMesh::TriangleCount() const
{
    std::int64_t count = 0;
    for (std::int32_t p = 0; p < meshSet_.partCount; ++p)
        count += meshSet_.parts[p].faceCount;
    return count;
}

// --- Lists -------------------------------------------------------------------

void COGLMesh::CompileLists()
{
    GLBracket bracket;
    // Without a context the names stay 0, which draw nothing.
    if (!IsGLContextCurrent())
        return;
    const GLuint list = glGenLists(1);
    if (list == 0)
        return;
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (std::int32_t p = 0; p < meshSet_.partCount; ++p) {
        const MeshPart& part = meshSet_.parts[p];
        for (std::int32_t f = 0; f < part.faceCount; ++f) {
            const MeshFace& face = part.faces[f];
            if (!FaceInsidePart(face, part))
                continue;
            for (int k = 0; k < 3; ++k) {
                const MeshVertex& v = part.vertices[face.vertex[k]];
                const MeshTexCoord& t = part.texCoords[face.texCoord[k]];
                glTexCoord2f(t.u, t.v);
                // From the origin through the vertex; none at the origin itself.
                const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
                if (length != 0.0f)
                    glNormal3f(v.x / length, v.y / length, v.z / length);
                else
                    glNormal3f(0.0f, 0.0f, 0.0f);
                glVertex3f(v.x, v.y, v.z);
            }
        }
    }
    glEnd();
    glEndList();
    meshSolidList_ = list;
    meshWireList_ = list;
    listGeneration_ = ActiveGLContextGeneration();
    SetLists({meshSolidList_, meshWireList_});
}

void COGLMesh::DeleteLists()
{
    // A list of another context went with it (its names may mean other lists now).
    if (meshSolidList_ == 0 || listGeneration_ != ActiveGLContextGeneration())
        return;
    GLBracket bracket;
    if (IsGLContextCurrent())
        glDeleteLists(meshSolidList_, 1);
    meshSolidList_ = 0;
    meshWireList_ = 0;
    SetLists({});
}

// --- Scene file record ---------------------------------------------------------

void COGLMesh::SaveObject(SceneFileWriter& file, std::int32_t textureIndex) const
{
    COGLObject::SaveObject(file, textureIndex);
    file.CountedText(TextOf(meshSet_.name));
    file.U32(CountOf(meshSet_.partCount));
    for (std::int32_t p = 0; p < meshSet_.partCount; ++p) {
        const MeshPart& part = meshSet_.parts[p];
        file.CountedText(TextOf(part.name));
        file.U32(CountOf(part.faceCount));
        for (std::int32_t f = 0; f < part.faceCount; ++f) {
            const MeshFace& face = part.faces[f];
            for (const std::int32_t index : face.vertex)
                file.I32(index);
            for (const std::int32_t index : face.texCoord)
                file.I32(index);
        }
        file.U32(CountOf(part.vertexCount));
        for (std::int32_t v = 0; v < part.vertexCount; ++v) {
            const MeshVertex& vertex = part.vertices[v];
            file.F32(vertex.x);
            file.F32(vertex.y);
            file.F32(vertex.z);
        }
        file.U32(CountOf(part.texCoordCount));
        for (std::int32_t t = 0; t < part.texCoordCount; ++t) {
            file.F32(part.texCoords[t].u);
            file.F32(part.texCoords[t].v);
        }
    }
    file.F32(meshSet_.extentX);
    file.F32(meshSet_.extentY);
    file.F32(meshSet_.extentZ);
}

std::int32_t COGLMesh::LoadObject(SceneFileReader& file)
{
    using namespace scene_file;
    const std::int32_t textureIndex = COGLObject::LoadObject(file);
    auto storage = std::make_unique<Storage>();
    storage->name = file.CountedText("the mesh set's name");
    const std::optional<std::int32_t> partCount = file.Count(kSmallestMeshPart, "mesh parts");
    if (!partCount)
        return textureIndex;
    const auto parts = static_cast<std::size_t>(*partCount);
    storage->partNames.reserve(parts);
    storage->faces.reserve(parts);
    storage->vertices.reserve(parts);
    storage->texCoords.reserve(parts);
    for (std::size_t p = 0; p < parts && file.ok(); ++p) {
        const std::string part = "part " + std::to_string(p + 1);
        storage->partNames.push_back(file.CountedText("the name of " + part));

        std::vector<MeshFace>& faces = storage->faces.emplace_back();
        if (const std::optional<std::int32_t> count = file.Count(kMeshFaceSize, "faces of " + part)) {
            faces.reserve(static_cast<std::size_t>(*count));
            for (std::int32_t f = 0; f < *count; ++f) {
                MeshFace& face = faces.emplace_back();
                for (std::int32_t& index : face.vertex)
                    index = file.I32();
                for (std::int32_t& index : face.texCoord)
                    index = file.I32();
            }
        }
        std::vector<MeshVertex>& vertices = storage->vertices.emplace_back();
        if (const std::optional<std::int32_t> count = file.Count(kMeshVertexSize, "vertices of " + part)) {
            vertices.reserve(static_cast<std::size_t>(*count));
            for (std::int32_t v = 0; v < *count; ++v)
                vertices.push_back({file.F32(), file.F32(), file.F32()});
        }
        std::vector<MeshTexCoord>& texCoords = storage->texCoords.emplace_back();
        if (const std::optional<std::int32_t> count = file.Count(kMeshTexCoordSize, "texture coordinates of " + part)) {
            texCoords.reserve(static_cast<std::size_t>(*count));
            for (std::int32_t t = 0; t < *count; ++t)
                texCoords.push_back({file.F32(), file.F32()});
        }
    }
    const Vector3 extents = file.Vec3();
    if (!file.ok())
        return textureIndex;

    MeshSet set = storage->Link(extents);
    if (const std::optional<std::string> problem = CheckMeshSet(set)) {
        file.Fail("the mesh's " + *problem);
        return textureIndex;
    }
    DeleteLists();
    storage_ = std::move(storage);
    meshSet_ = set;
    SetName(std::string(DefaultNameOf(ObjectKind::Mesh)));
    // The cage spans the mesh as it did before it was saved.
    SetExtent(extents);
    CompileLists();
    return textureIndex;
}

} // namespace zelvane
