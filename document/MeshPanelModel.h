#pragma once
// The mesh panel ("Mesh Info" tab) without its window: the face and vertex
// counts of the selected mesh and of its groups (the parts of its mesh set),
// the scene's textures, loading a texture, and the selected object's texture
// and lighting switches. Changes of the object are single commands that hand
// one undo step each to the edit sink.
//
// The panel keeps the object it edits by pointer and checks before every use
// that the scene still holds it, so an object deleted behind the panel's back
// is treated as none rather than touched.

#include "document/IPanelView.h"
#include "plugins/interface/MeshSet.h"
#include "scene/math/Vector3.h"

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zelvane {

class COGLObject;
class COGLTexture2D;
class UndoHistory;

struct MeshGroup {
    std::string name;
    int64_t faces = 0;
    int64_t vertices = 0;
};

// The groups of a mesh set, in part order; a part without a name shows as "".
std::vector<MeshGroup> MeshGroupsOf(const MeshSet& set);

// What "&Use Texture" and "Effected by Lighting" change on an object, whole,
// so that an undo step can put it back.
struct ObjectTextureState {
    COGLTexture2D* texture = nullptr;
    Vector3 rotation;
    Vector3 offset;
    Vector3 scale{1, 1, 1};
    GLenum envMode = GL_MODULATE;

    static ObjectTextureState Of(const COGLObject& object);
    void ApplyTo(COGLObject& object) const;
    friend bool operator==(const ObjectTextureState&, const ObjectTextureState&) = default;
};

class MeshPanelModel {
public:
    // Steps go to `history` (none: the changes are simply made), which the
    // model must outlive or be emptied before the model goes.
    MeshPanelModel(IPanelView& view, UndoHistory* history);

    void SetChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }

    // The view hands over the object a pick selected (or none): its groups
    // when it is a mesh, the totals of its parts, the first group selected.
    // An object the scene does not hold counts as none.
    void SetPanelObject(const COGLObject* object);
    // The object the panel edits, while the scene still holds it.
    COGLObject* PanelObject() const;

    int64_t MeshFaces() const { return PanelObject() ? meshFaces_ : 0; }
    int64_t MeshVertices() const { return PanelObject() ? meshVertices_ : 0; }
    const std::vector<MeshGroup>& Groups() const;
    // Selects a group (any index outside the list selects the first);
    // nothing while the panel edits no object.
    void SelectGroup(int index);
    int SelectedGroup() const { return Groups().empty() ? -1 : selectedGroup_; }
    int64_t GroupFaces() const;
    int64_t GroupVertices() const;

    // The scene's textures, in the scene's order.
    std::vector<COGLTexture2D*> Textures() const;
    void SelectTexture(int index); // outside the list: none
    int SelectedTexture() const;   // -1 for none
    // "&Load": reads the image at `path` into a new texture of the scene and
    // selects it. False, with the scene unchanged, when it does not load (the
    // image loader has told the user why) or there is no scene.
    bool LoadTexture(const std::string& path);

    // "&Use Texture" checked: the object takes the selected texture (none
    // selected: nothing changes). Unchecked: the object loses its texture and
    // its texture placement is reset, whether or not it had one.
    void SetUseTexture(bool use);
    bool UsesTexture() const;
    // "Effected by Lighting": the texture is modulated by the lit colour
    // (checked) or laid on as a decal (unchecked).
    void SetEffectedByLighting(bool lit);
    bool EffectedByLighting() const;

private:
    // The scene's own (changeable) object at that address, or null.
    COGLObject* InScene(const COGLObject* object) const;
    void Apply(COGLObject* object, const ObjectTextureState& state);
    void Change(const char* text, COGLObject& object, const ObjectTextureState& after);
    void Changed();

    IPanelView& view_;
    UndoHistory* history_;
    std::function<void()> changed_;
    COGLObject* object_ = nullptr;
    std::vector<MeshGroup> groups_;
    int64_t meshFaces_ = 0;
    int64_t meshVertices_ = 0;
    int selectedGroup_ = 0;
    COGLTexture2D* selectedTexture_ = nullptr;
};

} // namespace zelvane
