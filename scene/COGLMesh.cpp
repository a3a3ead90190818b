#include "scene/COGLMesh.h"

#include "plugins/host/MeshSetCheck.h"
#include "report/ErrorLog.h"
#include "report/Reporter.h"
#include "scene/ActiveGLContext.h"
#include "scene/CFileLocator.h"
#include "scene/COGLTexture2D.h"
#include "scene/GLBracket.h"
#include "scene/GLErrors.h"
#include "scene/ModelProportions.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"

#include <algorithm>
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

// A face as the lists draw it: each corner's texture coordinate, its normal
// from the origin through the vertex (none at the origin itself), the vertex.
void EmitFace(const MeshPart& part, const MeshFace& face)
{
    for (int k = 0; k < 3; ++k) {
        const MeshVertex& v = part.vertices[face.vertex[k]];
        const MeshTexCoord& t = part.texCoords[face.texCoord[k]];
        glTexCoord2f(t.u, t.v);
        const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        if (length != 0.0f)
            glNormal3f(v.x / length, v.y / length, v.z / length);
        else
            glNormal3f(0.0f, 0.0f, 0.0f);
        glVertex3f(v.x, v.y, v.z);
    }
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
    SetUpForImport({});
}

COGLMesh::COGLMesh(const MeshSet& set, ModelMaterials materials, const ModelUnits& units) : COGLMesh(set)
{
    if (units != ModelUnits{})
        SetUpForImport(units);
    if (materials.Empty())
        return;
    std::vector<std::vector<std::string>> textures;
    for (const std::vector<ModelFaceGroup>& groups : materials.partGroups) {
        std::vector<std::string>& paths = textures.emplace_back();
        for (const ModelFaceGroup& group : groups)
            paths.push_back(materials.materials[static_cast<std::size_t>(group.material)].texturePath);
    }
    SetMaterials(std::move(materials), std::move(textures));
}

float COGLMesh::ImportScale(const ModelUnits& units)
{
    return units.metresPerUnit > 0.0f ? units.metresPerUnit * kSceneUnitsPerMetre : kImportedScale;
}

// Files that say nothing are set up as 3D Studio files always were: 1/20 of
// their size, their +z turned to the scene's up.
void COGLMesh::SetUpForImport(const ModelUnits& units)
{
    defaultScale_ = ImportScale(units);
    defaultUp_ = units.up == UpAxis::Unknown ? UpAxis::Z : units.up;
    SetScale(defaultScale_, defaultScale_, defaultScale_);
    SetOrientation(Quaternion{});
    if (defaultUp_ == UpAxis::Z)
        RotateAxisAngle({1.0f, 0.0f, 0.0f}, kImportedTurn);
}

COGLMesh::~COGLMesh()
{
    DeleteLists();
}

std::unique_ptr<COGLMesh> COGLMesh::CopyOf(const COGLMesh& source)
{
    auto copy = std::make_unique<COGLMesh>();
    copy->storage_ = source.storage_;
    copy->meshSet_ = source.meshSet_;
    copy->source_ = source.source_;
    copy->CopyFrom(source);
    if (source.HasMaterials())
        copy->SetMaterials(source.materials_, source.groupTexturePaths_);
    else
        copy->CompileLists();
    return copy;
}

Box3 COGLMesh::VertexBox() const
{
    const std::optional<MeshBounds> bounds = MeasureBounds(meshSet_);
    if (!bounds)
        return {};
    return Box3::Spanning({bounds->low[0], bounds->low[1], bounds->low[2]},
                          {bounds->high[0], bounds->high[1], bounds->high[2]});
}

void COGLMesh::MoveShape(const Vector3& by)
{
    auto storage = std::make_shared<Storage>();
    storage->name = std::string(TextOf(meshSet_.name));
    for (std::int32_t p = 0; p < meshSet_.partCount; ++p) {
        const MeshPart& part = meshSet_.parts[p];
        storage->partNames.emplace_back(TextOf(part.name));
        storage->faces.emplace_back(part.faces, part.faces + CountOf(part.faceCount));
        std::vector<MeshVertex>& vertices = storage->vertices.emplace_back();
        vertices.reserve(CountOf(part.vertexCount));
        for (std::int32_t v = 0; v < part.vertexCount; ++v) {
            const MeshVertex& vertex = part.vertices[v];
            vertices.push_back({vertex.x + by.x, vertex.y + by.y, vertex.z + by.z});
        }
        storage->texCoords.emplace_back(part.texCoords, part.texCoords + CountOf(part.texCoordCount));
    }
    const MeshSet set = storage->Link({meshSet_.extentX, meshSet_.extentY, meshSet_.extentZ});
    DeleteLists();
    storage_ = std::move(storage);
    meshSet_ = set;
    source_.shapeMoves.push_back(by);
    CompileLists();
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
    groupDraws_.clear();
    ungroupedList_ = 0;
    if (materials_.partGroups.empty()) {
        const GLuint list = glGenLists(1);
        if (list == 0)
            return;
        glNewList(list, GL_COMPILE);
        glBegin(GL_TRIANGLES);
        for (std::int32_t p = 0; p < meshSet_.partCount; ++p) {
            const MeshPart& part = meshSet_.parts[p];
            for (std::int32_t f = 0; f < part.faceCount; ++f)
                if (FaceInsidePart(part.faces[f], part))
                    EmitFace(part, part.faces[f]);
        }
        glEnd();
        glEndList();
        meshSolidList_ = list;
        listCount_ = 1;
    } else {
        // One list for the faces in no group and one per group; the whole
        // mesh's list calls them all, so wireframe and picking draw every face.
        std::size_t groups = 0;
        for (const auto& partGroups : materials_.partGroups)
            groups += partGroups.size();
        const auto count = static_cast<GLsizei>(groups + 2);
        const GLuint base = glGenLists(count);
        if (base == 0)
            return;
        ungroupedList_ = base + 1;
        glNewList(ungroupedList_, GL_COMPILE);
        glBegin(GL_TRIANGLES);
        std::vector<std::uint8_t> grouped;
        for (std::int32_t p = 0; p < meshSet_.partCount; ++p) {
            const MeshPart& part = meshSet_.parts[p];
            grouped.assign(static_cast<std::size_t>(part.faceCount), 0);
            for (const ModelFaceGroup& group : materials_.partGroups[static_cast<std::size_t>(p)])
                for (const std::int32_t face : group.faces)
                    grouped[static_cast<std::size_t>(face)] = 1;
            for (std::int32_t f = 0; f < part.faceCount; ++f)
                if (!grouped[static_cast<std::size_t>(f)] && FaceInsidePart(part.faces[f], part))
                    EmitFace(part, part.faces[f]);
        }
        glEnd();
        glEndList();
        GLuint next = ungroupedList_ + 1;
        for (std::size_t p = 0; p < materials_.partGroups.size(); ++p) {
            const MeshPart& part = meshSet_.parts[p];
            const std::vector<ModelFaceGroup>& partGroups = materials_.partGroups[p];
            for (std::size_t g = 0; g < partGroups.size(); ++g) {
                glNewList(next, GL_COMPILE);
                glBegin(GL_TRIANGLES);
                for (const std::int32_t face : partGroups[g].faces)
                    if (FaceInsidePart(part.faces[face], part))
                        EmitFace(part, part.faces[face]);
                glEnd();
                glEndList();
                groupDraws_.push_back({next, p, g});
                ++next;
            }
        }
        glNewList(base, GL_COMPILE);
        for (GLuint list = base + 1; list < base + static_cast<GLuint>(count); ++list)
            glCallList(list);
        glEndList();
        meshSolidList_ = base;
        listCount_ = count;
    }
    meshWireList_ = meshSolidList_;
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
        glDeleteLists(meshSolidList_, listCount_);
    meshSolidList_ = 0;
    meshWireList_ = 0;
    ungroupedList_ = 0;
    listCount_ = 0;
    groupDraws_.clear();
    SetLists({});
}

// --- Drawing with materials ------------------------------------------------------

void COGLMesh::Draw(DrawFlags flags)
{
    if (ungroupedList_ == 0 || !(flags & kDrawShaded) || (flags & kDrawWireframe)) {
        COGLObject::Draw(flags);
        return;
    }
    // The object's material and texture for the faces in no group; CallList
    // adds the groups.
    DrawList(flags, ungroupedList_, {TextureOffset(), TextureScale(), false});
}

void COGLMesh::CallList(GLuint list) const
{
    glCallList(list);
    if (list == ungroupedList_ && ungroupedList_ != 0)
        DrawGroups();
}

void COGLMesh::DrawGroups() const
{
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_POLYGON_BIT);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // Opaque groups first, then the translucent ones over them. Translucent
    // faces still write depth: the bake needs every surface's depth.
    for (const bool translucentPass : {false, true})
        for (const GroupDraw& draw : groupDraws_) {
            const ModelFaceGroup& group = materials_.partGroups[draw.part][draw.group];
            const ModelMaterial& material = materials_.materials[static_cast<std::size_t>(group.material)];
            if ((material.opacity < 1.0f) != translucentPass)
                continue;
            const COGLTexture2D* texture = TextureFor(groupTexturePaths_[draw.part][draw.group]);
            const bool textured = texture && texture->GlName() != 0;
            // A textured group shows its picture lit as a textured object is:
            // through the object's own ambient and diffuse colours.
            const auto colour = [&](const std::array<float, 3>& rgb, const ColourRGBA& own) {
                return textured ? std::array<float, 4>{own[0], own[1], own[2], material.opacity}
                                : std::array<float, 4>{rgb[0], rgb[1], rgb[2], material.opacity};
            };
            const std::array<float, 4> ambient = colour(material.ambient, AmbientColor());
            const std::array<float, 4> diffuse = colour(material.diffuse, DiffuseColor());
            const std::array<float, 4> specular{material.specular[0], material.specular[1], material.specular[2], 1.0f};
            glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient.data());
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse.data());
            glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular.data());
            glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material.shininess);
            if (textured) {
                glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, texture->GlName());
            } else {
                glDisable(GL_TEXTURE_2D);
            }
            if (translucentPass) {
                glEnable(GL_BLEND);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            }
            if (material.twoSided) {
                glDisable(GL_CULL_FACE);
                glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
            } else {
                glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
            }
            glCallList(draw.list);
        }
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

// --- Materials ---------------------------------------------------------------------

std::vector<MeshGroupInfo> COGLMesh::Groups() const
{
    std::vector<MeshGroupInfo> groups;
    for (std::size_t p = 0; p < materials_.partGroups.size(); ++p)
        for (std::size_t g = 0; g < materials_.partGroups[p].size(); ++g) {
            const ModelFaceGroup& group = materials_.partGroups[p][g];
            const std::string& path = groupTexturePaths_[p][g];
            const COGLTexture2D* texture = TextureFor(path);
            groups.push_back({p, g, group.material,
                              materials_.materials[static_cast<std::size_t>(group.material)].name,
                              static_cast<std::int32_t>(group.faces.size()), path,
                              texture && texture->Image() && texture->Image()->Problem().empty()});
        }
    return groups;
}

void COGLMesh::SetMaterials(ModelMaterials materials, std::vector<std::vector<std::string>> groupTextures,
                            const std::string& searchFolder)
{
    DeleteLists();
    // Materials that do not fit the set would index outside it while drawing:
    // every way in checks them first, and a mistake draws the plain mesh.
    if (const std::optional<std::string> problem = CheckModelMaterials(materials, meshSet_)) {
        LogDebug(std::string("Mesh materials left out: ") + *problem + "\n");
        materials = {};
        groupTextures.clear();
    }
    materials_ = std::move(materials);
    groupTexturePaths_ = std::move(groupTextures);
    // One path per group, whatever the caller gave.
    groupTexturePaths_.resize(materials_.partGroups.size());
    for (std::size_t p = 0; p < materials_.partGroups.size(); ++p)
        groupTexturePaths_[p].resize(materials_.partGroups[p].size());
    groupTextures_.clear();
    LoadGroupTextures(searchFolder);
    CompileLists();
}

COGLTexture2D* COGLMesh::TextureFor(const std::string& path) const
{
    if (path.empty())
        return nullptr;
    for (const auto& texture : groupTextures_)
        if (texture->Path() == path)
            return texture.get();
    return nullptr;
}

void COGLMesh::LoadGroupTextures(const std::string& searchFolder)
{
    for (std::vector<std::string>& paths : groupTexturePaths_)
        for (std::string& path : paths) {
            if (path.empty() || TextureFor(path))
                continue;
            std::string found = path;
            if (!searchFolder.empty() && FindInFolder(found, searchFolder))
                path = found;
            if (TextureFor(path))
                continue;
            auto texture = std::make_unique<COGLTexture2D>();
            texture->SetSource(path, 0);
            texture->Load(path, 0, ImageMessages::Quiet);
            groupTextures_.push_back(std::move(texture));
        }
}

bool COGLMesh::SetGroupTexture(std::size_t part, std::size_t group, const std::string& path, std::string& problem)
{
    if (part >= groupTexturePaths_.size() || group >= groupTexturePaths_[part].size()) {
        problem = "the mesh has no group " + std::to_string(group + 1) + " in part " + std::to_string(part + 1);
        return false;
    }
    if (!path.empty() && !TextureFor(path)) {
        auto texture = std::make_unique<COGLTexture2D>();
        texture->SetSource(path, 0);
        if (!texture->Load(path, 0, ImageMessages::Quiet)) {
            problem = texture->Image()->Problem();
            return false;
        }
        groupTextures_.push_back(std::move(texture));
    }
    const COGLTexture2D* texture = TextureFor(path);
    if (texture && !texture->Image()->Problem().empty()) {
        problem = texture->Image()->Problem();
        return false;
    }
    groupTexturePaths_[part][group] = path;
    return true;
}

void COGLMesh::RestoreGroupTexture(std::size_t part, std::size_t group, const std::string& path)
{
    std::string problem;
    if (SetGroupTexture(part, group, path, problem) || part >= groupTexturePaths_.size() ||
        group >= groupTexturePaths_[part].size())
        return;
    groupTexturePaths_[part][group] = path;
    LoadGroupTextures({});
}

std::vector<MissingTexture> COGLMesh::MissingTextures() const
{
    std::vector<MissingTexture> missing;
    for (const auto& texture : groupTextures_) {
        const bool used = std::any_of(groupTexturePaths_.begin(), groupTexturePaths_.end(), [&](const auto& paths) {
            return std::find(paths.begin(), paths.end(), texture->Path()) != paths.end();
        });
        if (used && texture->Image() && !texture->Image()->Problem().empty())
            missing.push_back({texture->Path(), texture->Image()->Problem()});
    }
    return missing;
}

std::string COGLMesh::MissingTexturesText(std::string_view modelFile) const
{
    const std::vector<MissingTexture> missing = MissingTextures();
    if (missing.empty())
        return {};
    std::string text = std::string(missing.size() == 1 ? "A texture" : "Some textures") + " of \"" +
                       std::string(modelFile) + "\" could not be loaded; the faces that use " +
                       (missing.size() == 1 ? "it" : "them") + " show their material's colour.\n";
    for (const MissingTexture& texture : missing) {
        text += "\n" + texture.path + ": " + texture.problem;
        LogDebug(std::string(modelFile) + ": texture " + texture.path + ": " + texture.problem + "\n");
    }
    return text;
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
    auto storage = std::make_shared<Storage>();
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
    source_ = {};
    SetName(std::string(DefaultNameOf(ObjectKind::Mesh)));
    // The cage spans the mesh as it did before it was saved.
    SetExtent(extents);
    CompileLists();
    return textureIndex;
}

// --- Materials in a scene file ------------------------------------------------

void COGLMesh::SaveMaterials(SceneFileWriter& file) const
{
    file.U32(static_cast<std::uint32_t>(materials_.materials.size()));
    for (const ModelMaterial& material : materials_.materials) {
        file.CountedText(material.name);
        for (const auto* colour : {&material.ambient, &material.diffuse, &material.specular})
            for (const float channel : *colour)
                file.F32(channel);
        file.F32(material.shininess);
        file.F32(material.opacity);
        file.U8(material.twoSided ? 1 : 0);
        file.CountedText(material.texturePath);
    }
    file.U32(static_cast<std::uint32_t>(materials_.partGroups.size()));
    for (std::size_t p = 0; p < materials_.partGroups.size(); ++p) {
        file.U32(static_cast<std::uint32_t>(materials_.partGroups[p].size()));
        for (std::size_t g = 0; g < materials_.partGroups[p].size(); ++g) {
            const ModelFaceGroup& group = materials_.partGroups[p][g];
            file.I32(group.material);
            file.CountedText(groupTexturePaths_[p][g]);
            file.U32(static_cast<std::uint32_t>(group.faces.size()));
            for (const std::int32_t face : group.faces)
                file.I32(face);
        }
    }
}

COGLMesh::StoredMaterials COGLMesh::ReadMaterials(SceneFileReader& file) const
{
    using namespace scene_file;
    StoredMaterials stored;
    ModelMaterials& materials = stored.materials;
    std::vector<std::vector<std::string>>& textures = stored.groupTextures;
    if (const std::optional<std::int32_t> count = file.Count(kSmallestMaterial, "materials")) {
        materials.materials.reserve(static_cast<std::size_t>(*count));
        for (std::int32_t m = 0; m < *count && file.ok(); ++m) {
            ModelMaterial& material = materials.materials.emplace_back();
            const std::string which = "material " + std::to_string(m + 1);
            material.name = file.CountedText("the name of " + which);
            for (auto* colour : {&material.ambient, &material.diffuse, &material.specular})
                for (float& channel : *colour)
                    channel = file.F32();
            material.shininess = file.F32();
            material.opacity = file.F32();
            const std::uint8_t twoSided = file.U8();
            if (twoSided > 1)
                file.Fail("the two-sided flag of " + which + " is " + std::to_string(twoSided));
            material.twoSided = twoSided == 1;
            material.texturePath = file.CountedText("the texture path of " + which);
        }
    }
    if (const std::optional<std::int32_t> parts = file.Count(4, "parts with face groups")) {
        for (std::int32_t p = 0; p < *parts && file.ok(); ++p) {
            std::vector<ModelFaceGroup>& groups = materials.partGroups.emplace_back();
            std::vector<std::string>& paths = textures.emplace_back();
            const std::string part = "part " + std::to_string(p + 1);
            const std::optional<std::int32_t> count = file.Count(kSmallestGroup, "face groups of " + part);
            for (std::int32_t g = 0; count && g < *count && file.ok(); ++g) {
                const std::string which = "group " + std::to_string(g + 1) + " of " + part;
                ModelFaceGroup& group = groups.emplace_back();
                group.material = file.I32();
                paths.push_back(file.CountedText("the texture path of " + which));
                if (const std::optional<std::int32_t> faces = file.Count(kGroupFaceSize, "faces of " + which)) {
                    group.faces.reserve(static_cast<std::size_t>(*faces));
                    for (std::int32_t f = 0; f < *faces; ++f)
                        group.faces.push_back(file.I32());
                }
            }
        }
    }
    if (!file.ok())
        return {};
    if (const std::optional<std::string> problem = CheckModelMaterials(materials, meshSet_)) {
        file.Fail("the mesh's " + *problem);
        return {};
    }
    for (const std::vector<std::string>& paths : textures)
        for (const std::string& path : paths)
            if (path.size() > ZELPLUG_MAX_TEXTURE_PATH || path.find('\0') != std::string::npos) {
                file.Fail("a group's texture path is longer than " + std::to_string(ZELPLUG_MAX_TEXTURE_PATH) +
                          " bytes or holds a zero byte");
                return {};
            }
    return stored;
}

} // namespace zelvane
