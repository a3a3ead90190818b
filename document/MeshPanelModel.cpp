#include "document/MeshPanelModel.h"

#include "document/FunctionCommand.h"
#include "document/UndoHistory.h"
#include "scene/COGLMesh.h"
#include "scene/COGLObject.h"
#include "scene/COGLScene.h"
#include "scene/COGLTexture2D.h"

#include <algorithm>
#include <memory>

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

ObjectTextureState ObjectTextureState::Of(const COGLObject& object)
{
    return {object.Texture(), object.TextureRotation(), object.TextureOffset(), object.TextureScale(),
            object.TextureEnvMode()};
}

void ObjectTextureState::ApplyTo(COGLObject& object) const
{
    object.SetTexture(texture);
    object.SetTextureRotation(rotation);
    object.SetTextureOffset(offset);
    object.SetTextureScale(scale);
    object.SetTextureEnvMode(envMode);
}

MeshPanelModel::MeshPanelModel(IPanelView& view, UndoHistory* history) : view_(view), history_(history) {}

void MeshPanelModel::Changed()
{
    if (changed_)
        changed_();
}

COGLObject* MeshPanelModel::InScene(const COGLObject* object) const
{
    const COGLScene* scene = view_.Scene();
    if (!object || !scene)
        return nullptr;
    for (const auto& held : scene->Objects())
        if (held.get() == object)
            return held.get();
    return nullptr;
}

COGLObject* MeshPanelModel::PanelObject() const
{
    return InScene(object_);
}

void MeshPanelModel::SetPanelObject(const COGLObject* object)
{
    object_ = InScene(object);
    object = object_;
    groups_.clear();
    meshFaces_ = 0;
    meshVertices_ = 0;
    selectedGroup_ = 0;
    if (const auto* mesh = dynamic_cast<const COGLMesh*>(object))
        groups_ = MeshGroupsOf(mesh->GetMeshSet());
    for (const MeshGroup& group : groups_) {
        meshFaces_ += group.faces;
        meshVertices_ += group.vertices;
    }
    Changed();
}

const std::vector<MeshGroup>& MeshPanelModel::Groups() const
{
    static const std::vector<MeshGroup> none;
    return PanelObject() ? groups_ : none;
}

void MeshPanelModel::SelectGroup(int index)
{
    if (!PanelObject())
        return;
    selectedGroup_ = index >= 0 && static_cast<size_t>(index) < groups_.size() ? index : 0;
    Changed();
}

int64_t MeshPanelModel::GroupFaces() const
{
    const int group = SelectedGroup();
    return group < 0 ? 0 : groups_[static_cast<size_t>(group)].faces;
}

int64_t MeshPanelModel::GroupVertices() const
{
    const int group = SelectedGroup();
    return group < 0 ? 0 : groups_[static_cast<size_t>(group)].vertices;
}

std::vector<COGLTexture2D*> MeshPanelModel::Textures() const
{
    std::vector<COGLTexture2D*> textures;
    if (const COGLScene* scene = view_.Scene())
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
    COGLScene* scene = view_.Scene();
    if (!scene)
        return false;
    auto texture = std::make_unique<COGLTexture2D>();
    texture->SetSource(path, 0);
    texture->SetScene(scene);
    if (!texture->IsLoaded())
        return false;
    selectedTexture_ = &scene->AddTexture(std::move(texture));
    Changed();
    return true;
}

void MeshPanelModel::Apply(COGLObject* object, const ObjectTextureState& state)
{
    // An undo step may outlive the object in the scene.
    if (!InScene(object))
        return;
    ObjectTextureState checked = state;
    const std::vector<COGLTexture2D*> textures = Textures();
    if (std::find(textures.begin(), textures.end(), checked.texture) == textures.end())
        checked.texture = nullptr; // deleted with the scene's textures since
    checked.ApplyTo(*object);
    view_.Redraw();
    Changed();
}

void MeshPanelModel::Change(const char* text, COGLObject& object, const ObjectTextureState& after)
{
    const ObjectTextureState before = ObjectTextureState::Of(object);
    after.ApplyTo(object);
    const ObjectTextureState done = ObjectTextureState::Of(object); // a texture that does not load stays off
    view_.Redraw();
    Changed();
    if (done == before || !history_)
        return;
    COGLObject* target = &object;
    history_->Record(std::make_unique<FunctionCommand>(
        text, [this, target, done] { Apply(target, done); }, [this, target, before] { Apply(target, before); }));
}

void MeshPanelModel::SetUseTexture(bool use)
{
    COGLObject* object = PanelObject();
    if (!object)
        return;
    ObjectTextureState after = ObjectTextureState::Of(*object);
    if (use) {
        COGLTexture2D* texture = SelectedTexture() >= 0 ? selectedTexture_ : nullptr;
        if (!texture) {
            Changed(); // the check box shows again that nothing is attached
            return;
        }
        after.texture = texture;
    } else {
        after.texture = nullptr;
        after.rotation = {0, 0, 0};
        after.offset = {0, 0, 0};
        after.scale = {1, 1, 1};
    }
    Change("Use Texture", *object, after);
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
    Change("Effected by Lighting", *object, after);
}

bool MeshPanelModel::EffectedByLighting() const
{
    const COGLObject* object = PanelObject();
    return !object || object->TextureEnvMode() != GL_DECAL;
}

} // namespace zelvane
