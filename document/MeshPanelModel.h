#pragma once
// The mesh panel ("Mesh Info" tab) without its window: the face and vertex
// counts of the selected mesh and of its groups (the parts of its mesh set),
// the scene's textures, loading a texture, and the selected object's texture
// and lighting switches. It shows the document's selection and scene as they
// are whenever it is asked, so an undo, a redo or a cleared scene never
// leaves it showing an object that is gone; every change is a command of the
// document.

#include "plugins/interface/MeshSet.h"
#include "report/Result.h"
#include "scene/COGLMesh.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

class COGLDoc;
class COGLObject;
class COGLTexture2D;

struct MeshGroup {
    std::string name;
    int64_t faces = 0;
    int64_t vertices = 0;
};

// The groups of a mesh set, in part order; a part without a name shows as "".
std::vector<MeshGroup> MeshGroupsOf(const MeshSet& set);

class MeshPanelModel {
public:
    explicit MeshPanelModel(COGLDoc& document) : document_(document) {}

    // The object the panel edits: the document's selected object, or null.
    COGLObject* PanelObject() const;

    int64_t MeshFaces() const;
    int64_t MeshVertices() const;
    // The selected mesh's groups; none for another kind or no selection.
    std::vector<MeshGroup> Groups() const;
    // Selects a group (any index outside the list selects the first).
    void SelectGroup(int index) { selectedGroup_ = index; }
    // -1 when there are no groups.
    int SelectedGroup() const;
    int64_t GroupFaces() const;
    int64_t GroupVertices() const;

    // The selected mesh's face groups with their material and texture, part
    // by part; none for another kind or a mesh without materials.
    std::vector<MeshGroupInfo> FaceGroups() const;
    // Selects a face group (outside the list: the first); -1 when there are none.
    void SelectFaceGroup(int index) { selectedFaceGroup_ = index; }
    int SelectedFaceGroup() const;
    // The picture at `path` as the chosen face group's texture, an undo step
    // of the document; an empty path takes the texture away. Fails, changing
    // nothing, without a face group or when the picture does not load.
    Status SetFaceGroupTexture(const std::string& path);

    // The scene's textures, in the scene's order.
    std::vector<COGLTexture2D*> Textures() const;
    void SelectTexture(int index); // outside the list: none
    int SelectedTexture() const;   // -1 for none
    // "&Load": reads the image at `path` into a new texture of the scene (an
    // undo step) and selects it in the list. False, with the scene unchanged,
    // when it does not load (the image loader has told the user why).
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
    COGLDoc& document_;
    int selectedGroup_ = 0;
    int selectedFaceGroup_ = 0;
    const COGLTexture2D* selectedTexture_ = nullptr;
};

} // namespace zelvane
