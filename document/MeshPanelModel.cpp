#include "document/MeshPanelModel.h"

#include "document/COGLDoc.h"
#include "document/TextureCommands.h"
#include "scene/COGLMesh.h"
#include "scene/COGLObject.h"
#include "scene/COGLScene.h"
#include "scene/COGLTexture2D.h"

#include <algorithm>

namespace zelvane {

std::vector<MeshGroup> MeshGroupsOf(const MeshSet& set)
{
    std::vector<MeshGroup> groups;
    if (set.partCount <= 0 || !set.parts)
        return groups;
    groups.reserve(static_cast<size_t>(set.partCount));
    for (int32_t i = 0; i < set.partCount; ++i) {
        const MeshPart& part = set.parts[i];
        groups.push_back({part.name ? part.name : "", std::max(part.faceCount, 0), std::max(part.vertexCount, 0)});
    }
    return groups;
}

COGLObject* MeshPanelModel::PanelObject() const
{
    return document_.Selection().object;
}

std::vector<MeshGroup> MeshPanelModel::Groups() const
{
    if (const auto* mesh = dynamic_cast<const COGLMesh*>(PanelObject()))
        return MeshGroupsOf(mesh->GetMeshSet());
    return {};
}

int64_t MeshPanelModel::MeshFaces() const
{
    int64_t faces = 0;
    for (const MeshGroup& group : Groups())
        faces += group.faces;
    return faces;
}

int64_t MeshPanelModel::MeshVertices() const
{
    int64_t vertices = 0;
    for (const MeshGroup& group : Groups())
        vertices += group.vertices;
    return vertices;
}

int MeshPanelModel::SelectedGroup() const
{
    const size_t count = Groups().size();
    if (count == 0)
        return -1;
    return selectedGroup_ >= 0 && static_cast<size_t>(selectedGroup_) < count ? selectedGroup_ : 0;
}

int64_t MeshPanelModel::GroupFaces() const
{
    const int group = SelectedGroup();
    return group < 0 ? 0 : Groups()[static_cast<size_t>(group)].faces;
}

int64_t MeshPanelModel::GroupVertices() const
{
    const int group = SelectedGroup();
    return group < 0 ? 0 : Groups()[static_cast<size_t>(group)].vertices;
}

std::vector<MeshGroupInfo> MeshPanelModel::FaceGroups() const
{
    if (const auto* mesh = dynamic_cast<const COGLMesh*>(PanelObject()))
        return mesh->Groups();
    return {};
}

int MeshPanelModel::SelectedFaceGroup() const
{
    const std::size_t count = FaceGroups().size();
    if (count == 0)
        return -1;
    return selectedFaceGroup_ >= 0 && static_cast<std::size_t>(selectedFaceGroup_) < count ? selectedFaceGroup_ : 0;
}

Status MeshPanelModel::SetFaceGroupTexture(const std::string& path)
{
    auto* mesh = dynamic_cast<COGLMesh*>(PanelObject());
    const int chosen = SelectedFaceGroup();
    if (!mesh || chosen < 0)
        return Status::Failure("Choose a face group of a mesh first.");
    const MeshGroupInfo group = FaceGroups()[static_cast<std::size_t>(chosen)];
    return document_.SetGroupTexture(*mesh, group.part, group.group, path);
}

std::vector<COGLTexture2D*> MeshPanelModel::Textures() const
{
    std::vector<COGLTexture2D*> textures;
    if (const COGLScene* scene = document_.Scene())
        for (const auto& texture : scene->Textures())
            textures.push_back(texture.get());
    return textures;
}

void MeshPanelModel::SelectTexture(int index)
{
    const std::vector<COGLTexture2D*> textures = Textures();
    selectedTexture_ = index >= 0 && static_cast<size_t>(index) < textures.size() ? textures[static_cast<size_t>(index)]
                                                                                 : nullptr;
}

int MeshPanelModel::SelectedTexture() const
{
    const std::vector<COGLTexture2D*> textures = Textures();
    const auto found = std::find(textures.begin(), textures.end(), selectedTexture_);
    return found == textures.end() ? -1 : static_cast<int>(found - textures.begin());
}

bool MeshPanelModel::LoadTexture(const std::string& path)
{
    COGLTexture2D* texture = document_.LoadTexture(path);
    if (!texture)
        return false;
    selectedTexture_ = texture;
    return true;
}

void MeshPanelModel::SetUseTexture(bool use)
{
    COGLObject* object = PanelObject();
    if (!object)
        return;
    ObjectTextureState after = ObjectTextureState::Of(*object);
    if (use) {
        const int index = SelectedTexture();
        if (index < 0)
            return;
        after.texture = Textures()[static_cast<size_t>(index)];
    } else {
        after.texture = nullptr;
        after.rotation = {0, 0, 0};
        after.offset = {0, 0, 0};
        after.scale = {1, 1, 1};
    }
    document_.SetObjectTexture(*object, after, "Use Texture");
}

bool MeshPanelModel::UsesTexture() const
{
    const COGLObject* object = PanelObject();
    return object && object->Texture();
}

void MeshPanelModel::SetEffectedByLighting(bool lit)
{
    COGLObject* object = PanelObject();
    if (!object)
        return;
    ObjectTextureState after = ObjectTextureState::Of(*object);
    after.envMode = lit ? GL_MODULATE : GL_DECAL;
    document_.SetObjectTexture(*object, after, "Effected by Lighting");
}

bool MeshPanelModel::EffectedByLighting() const
{
    const COGLObject* object = PanelObject();
    return !object || object->TextureEnvMode() != GL_DECAL;
}

} // namespace zelvane
