#pragma once
// The one scene the document shows: three fixed planes (a floor and two
// walls), the lights, the user's objects and the textures they may use. It
// draws itself in a fixed order of passes, draws itself again for picking and
// keeps the selection. The caller (the view) has made the context current for
// every operation unless it says otherwise.
//
// Sections: construction and defaults; contents; selection; drawing and
// picking; textures; scene file.

#include "scene/COGLCamera.h"
#include "scene/COGLFloor.h"
#include "scene/COGLLeftWall.h"
#include "scene/COGLLight.h"
#include "scene/COGLObject.h"
#include "scene/COGLRightWall.h"
#include "scene/COGLViewport.h"
#include "scene/COGLTexture2D.h"
#include "scene/DrawFlags.h"
#include "scene/SceneColours.h"
#include "scene/SceneLoadResult.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvane {

class CFileLocator;
class CObjectFile;
class SceneFileReader;
class SceneFileWriter;

class COGLScene {
public:
    // Empty, with the colours of a new scene; CreateDefaults adds the rest.
    COGLScene();
    // Deletes the objects, then the textures, the lights and the fixed planes.
    ~COGLScene();
    COGLScene(const COGLScene&) = delete;
    COGLScene& operator=(const COGLScene&) = delete;

    // The floor, the right and the left wall (not pickable), textured with
    // "Default Floor.bmp" and "Default Wall.bmp" from `mapsFolder` when those
    // load (a plane whose texture does not load stays plain; the image loader
    // says why), and three point lights at (−6, 8, 6), (6, 8, −6) and (9, 3, 0).
    // The default textures are not among `Textures()`.
    void CreateDefaults(const std::string& mapsFolder);
    // CreateDefaults from the program's "Maps" folder (FindProgramFolder).
    void CreateDefaults();
    static std::string DefaultMapsFolder();

    // Append; the scene takes ownership and returns what it now holds.
    COGLObject& AddObject(std::unique_ptr<COGLObject> object);
    COGLLight& AddLight(std::unique_ptr<COGLLight> light);
    COGLTexture2D& AddTexture(std::unique_ptr<COGLTexture2D> texture);

    // Deletes `object` if it is one of the scene's (clearing the selection when
    // it was selected); false, with nothing changed, otherwise.
    bool RemoveObject(const COGLObject* object);
    // Objects, textures and the saved cage go; planes, lights, colours and
    // the object file stay.
    void ClearScene();
    void DeleteAllObjects();
    // Sets each texture's use count to 0 and deletes it; objects that used one
    // are left without a texture.
    void DeleteAllTextures();

    // What ClearScene removes, handed over instead of deleted, so that an
    // undo can put it back: the objects (still referring to their textures),
    // the textures, and which fixed plane wore which of those textures.
    struct Contents {
        std::vector<std::unique_ptr<COGLObject>> objects;
        std::vector<std::unique_ptr<COGLTexture2D>> textures;
        std::vector<std::pair<COGLObject*, COGLTexture2D*>> planeTextures;
    };
    // ClearScene, handing the contents over.
    Contents TakeContents();
    // Puts taken contents back after what the scene holds now.
    void RestoreContents(Contents contents);
    // Hands `object` over instead of deleting it (clearing the selection when
    // it was selected) and says where it was; null when it is not the scene's.
    std::unique_ptr<COGLObject> TakeObject(const COGLObject* object, std::size_t* index = nullptr);
    // Hands `texture` over instead of deleting it; objects and planes that
    // wore it are left without one. Null when it is not the scene's.
    std::unique_ptr<COGLTexture2D> TakeTexture(const COGLTexture2D* texture);
    // Puts an object back at `index` of Objects() (at the end when past it).
    COGLObject& InsertObject(std::size_t index, std::unique_ptr<COGLObject> object);
    bool Contains(const COGLObject* object) const;

    // The first object with this id whose pickable flag is set becomes the
    // selection and is returned; otherwise nothing is selected. Never a fixed
    // plane or a light's marker, which are not among the objects.
    COGLObject* SelectObjectById(std::uint32_t id);
    // The first pickable object with this id, selecting nothing; null when none.
    COGLObject* FindPickable(std::uint32_t id) const;
    void SetSelectedObject(COGLObject* object) { selectedObject_ = object; }
    COGLObject* SelectedObject() const { return selectedObject_; }

    // Lights and their markers, the fixed planes, then the objects farthest
    // from `camera`'s eye first, the selected one in the selection colour.
    void Draw(DrawFlags flags, const COGLCamera& camera);
    // The lights' markers and the objects under their picking names; the
    // caller has set up selection mode and the pick matrix.
    void DrawForPicking();
    void ApplyAmbient() const;

    // Gives `object` the texture at `index` of Textures(); any other index
    // changes nothing.
    void SetObjectTextureByIndex(COGLObject& object, std::int32_t index);
    // Binds the texture and sets its wrapping and filters by TextureFilter(),
    // inside the active context's BeginGL/EndGL.
    void ApplyTextureParameters(const COGLTexture2D& texture) const;
    int TextureFilter() const { return textureFilter_; }
    void SetTextureFilter(int filter) { textureFilter_ = filter; }

    const std::vector<std::unique_ptr<COGLObject>>& Objects() const { return objects_; }
    const std::vector<std::unique_ptr<COGLLight>>& Lights() const { return lights_; }
    const std::vector<std::unique_ptr<COGLTexture2D>>& Textures() const { return textures_; }
    COGLFloor* FloorPlane() const { return floorPlane_.get(); }
    COGLRightWall* RightWallPlane() const { return rightWallPlane_.get(); }
    COGLLeftWall* LeftWallPlane() const { return leftWallPlane_.get(); }

    // The clear colour of every viewport (the view clears with alpha 1).
    const ColourRGBA& Background() const { return background_; }
    const ColourRGB& LightMarkerColor() const { return lightMarkerColor_; }
    const ColourRGB& ObjectColor() const { return objectColor_; }
    const ColourRGB& SelectedColor() const { return selectedColor_; }
    const ColourRGBA& Ambient() const { return ambient_; }
    void SetAmbient(const ColourRGBA& ambient) { ambient_ = ambient; }

    // The working object file, which saving copies beside the scene file, or
    // none. The document owns it; the scene only points at it, and whoever
    // replaces it tells the scene (WorkingObjectFile's observer).
    CObjectFile* ObjectFile() const { return objectFile_; }
    void SetObjectFile(CObjectFile* file) { objectFile_ = file; }

    // --- Scene file ---

    // The scene's part of a scene file: the object and texture counts, every
    // texture's flag and path, then every object's kind and record with the
    // position of its texture among Textures() (−1 for none). Fails `file`
    // when a texture's path is longer than the 259 characters a record holds.
    void SaveScene(SceneFileWriter& file) const;

    // Reads the scene's part of a scene file whose header the document has
    // checked, adding to what the scene holds (the caller clears it first),
    // with the progress display showing "Loading...". Textures are found
    // through a CFileLocator beside `sceneFilePath` (which may ask the user);
    // one that is not found is dropped, and objects that used it have no
    // texture. Objects are made in the active context. Reading stops at the
    // first record that cannot be read (the result says which and why); what
    // was read before it stays. The object file beside the scene file is the
    // document's business (WorkingObjectFile::TakeFromScene). A materials
    // section after the objects gives the meshes their materials; anything
    // else there is ignored. Textures of the meshes' groups that do not load
    // (looked for also beside the scene file) leave their groups in their
    // colours and are listed in the result.
    SceneLoadResult LoadScene(SceneFileReader& file, const std::string& sceneFilePath);

    // The footprint cage the scene was made for, when its file says (the
    // command-line tool's `make` and `scene --from-json` store it); none
    // otherwise. Saved with the scene; the editor's document takes it as its
    // cage when it opens the file and gives it its cage when it saves.
    const std::optional<CageSize>& SavedCage() const { return savedCage_; }
    void SetSavedCage(std::optional<CageSize> cage) { savedCage_ = cage; }

    // The locator of the scene file being read; none otherwise.
    const CFileLocator* LoadLocator() const { return loadLocator_.get(); }

private:
    COGLTexture2D* LoadDefaultTexture(const std::string& path);
    void SaveMaterialsSection(SceneFileWriter& file) const;
    void SaveSourcesSection(SceneFileWriter& file) const;
    void SaveCageSection(SceneFileWriter& file) const;
    // The optional sections after the objects, each read once its tag is.
    void LoadSections(SceneFileReader& file, const std::vector<COGLObject*>& loaded, SceneLoadResult& result);
    void LoadMaterialsSection(SceneFileReader& file, const std::vector<COGLObject*>& loaded, SceneLoadResult& result);
    void LoadSourcesSection(SceneFileReader& file, const std::vector<COGLObject*>& loaded, SceneLoadResult& result);
    void LoadCageSection(SceneFileReader& file, SceneLoadResult& result);
    // The floor, the left and the right wall, in drawing order (none before
    // CreateDefaults).
    std::array<COGLObject*, 3> FixedPlanes() const;

    ColourRGBA background_{kSceneBackground.red, kSceneBackground.green, kSceneBackground.blue, 0.0f};
    ColourRGB lightMarkerColor_ = kLightMarkerColour;
    ColourRGB objectColor_ = kObjectColour;
    ColourRGB selectedColor_ = kSelectedColour;
    ColourRGBA ambient_{0.7f, 0.7f, 0.7f, 1.0f};
    std::vector<std::unique_ptr<COGLLight>> lights_;
    std::vector<std::unique_ptr<COGLObject>> objects_;
    std::vector<std::unique_ptr<COGLTexture2D>> textures_;
    COGLObject* selectedObject_ = nullptr;
    int textureFilter_;
    std::unique_ptr<CFileLocator> loadLocator_;
    CObjectFile* objectFile_ = nullptr;
    std::optional<CageSize> savedCage_;
    std::unique_ptr<COGLFloor> floorPlane_;
    std::unique_ptr<COGLRightWall> rightWallPlane_;
    std::unique_ptr<COGLLeftWall> leftWallPlane_;
    // The floor's and the walls' textures: only the planes refer to them.
    std::vector<std::unique_ptr<COGLTexture2D>> defaultTextures_;
};

} // namespace zelvane
