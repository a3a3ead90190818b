#pragma once
// The editor's one document. It finds the game folder and owns the catalog of
// the game's objects (rebuilt at every new document), the working object file
// cloned from one of them, the one scene with its selection, the import
// plug-ins and the undo history. Every change of the scene comes in here as a
// command that records its own undo step; every change is announced through
// Changed(), which the view, the panels, the window's title and menus listen
// to. The view owns only what it draws with: the OpenGL context, the
// viewport and its camera.
//
// The scene's display lists and textures live in the active OpenGL context
// (scene/ActiveGLContext): commands that make or delete them bracket their
// work with it, and the scene goes (CloseScene) before that context does.
//
// Sections: construction and catalog; the scene; scene files; commands;
// selection; undo; what the view shows of the object; announcements.

#include "document/FootprintPlacement.h"
#include "document/InsertedObjects.h"
#include "document/ObjectPlacement.h"
#include "document/SelectedItem.h"
#include "document/Signal.h"
#include "document/UndoHistory.h"
#include "document/WorkingObjectFile.h"
#include "objects/GameFolder.h"
#include "objects/ObjectCatalog.h"
#include "plugins/host/CPluginManager.h"
#include "report/Result.h"
#include "scene/COGLViewport.h"
#include "scene/SceneLoadResult.h"
#include "scene/ZoomPreset.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelvane {

class COGLMesh;
class COGLObject;
class COGLScene;
class COGLTexture2D;
class CPlugin;
struct ObjectTextureState;

// What a change touched; listeners look at the bits they show.
enum DocumentChange : unsigned {
    kSceneChanged = 1u << 0,      // objects, textures, placements
    kSelectionChanged = 1u << 1,  // the selected object or light
    kHistoryChanged = 1u << 2,    // undo, redo, and whether there are unsaved changes
    kPathChanged = 1u << 3,       // the scene file's name
    kObjectFileChanged = 1u << 4, // the working object file replaced, rewritten or edited
    kViewOptionsChanged = 1u << 5, // the cage's size, the zoom preset
    kPluginsChanged = 1u << 6,    // the plug-ins were scanned
};
using DocumentChanges = unsigned;

class COGLDoc {
public:
    // The working object file goes to `workingObjectPath` (empty: the user's
    // data folder, DefaultWorkingObjectFilePath()).
    COGLDoc(std::optional<std::string> commandLineGameFolder, std::vector<std::string> sampleFolders,
            std::string workingObjectPath = {});
    ~COGLDoc();
    COGLDoc(const COGLDoc&) = delete;
    COGLDoc& operator=(const COGLDoc&) = delete;

    // --- Construction and catalog ------------------------------------------
    // The new-document step: finds the game folder again and rebuilds the catalog.
    void OnNewDocument();
    const GameFolderChoice& GameFolder() const { return gameFolder_; }
    const ObjectCatalog& Catalog() const { return catalog_; }
    ObjectCatalog& Catalog() { return catalog_; }
    WorkingObjectFile& WorkingObject() { return workingObject_; }
    const WorkingObjectFile& WorkingObject() const { return workingObject_; }
    // The working object file was changed in place (the property editor saved).
    void NoteObjectFileEdited();
    // Work that replaces the working object file whole (importing painted
    // sprites): `replace` gets its path, with its changes written out, and
    // replaces the file there crash-safely; the file before and after become
    // one undo step `text`. Fails, with nothing recorded, when there is no
    // working object file or `replace` fails (saying why).
    Status ReplaceObjectFile(std::string text, const std::function<Status(const std::string& path)>& replace);

    // --- The scene -----------------------------------------------------------
    // A new scene with its defaults (floor, walls, lights) from the textures
    // of `mapsFolder` (empty: the program's "Maps"), made in the active
    // context: the history emptied, nothing selected, no file name.
    void NewScene(const std::string& mapsFolder = {});
    // The scene goes (with the history that points into it), in the active
    // context; before the view's context goes.
    void CloseScene();
    COGLScene* Scene() const { return scene_.get(); }
    // Scans the plug-ins once per run and says so (kPluginsChanged); libraries
    // that are no plug-ins come back as warnings.
    Status ScanPlugins();
    CPluginManager& Plugins() { return plugins_; }
    const CPluginManager& Plugins() const { return plugins_; }

    // --- Scene files ---------------------------------------------------------
    // Saves the scene as `path` and the working object file beside it
    // ("room.cgs": "room.iff"); `path` becomes the scene's file and its
    // changes count as saved. Fails, with the file unchanged, when the scene
    // file could not be written; an object file that could not be copied is a
    // warning (the scene file is saved).
    Status SaveSceneFile(const std::string& path);
    // Opens the scene file `path` in place of the scene (cleared first, the
    // history emptied, nothing selected); after a complete read `path` is the
    // scene's file and the object file beside it becomes the working object
    // file (the user is asked first when that would lose unsaved edits; one
    // that cannot be taken is a warning). A file that is not a ".cgs", cannot
    // be read or is no scene file changes nothing and fails; one whose records
    // stop part-way fails with what was read before in the scene. What the user is asked before unsaved changes go is
    // the caller's business (HasUnsavedChanges).
    Status OpenSceneFile(const std::string& path);
    // The scene file last opened or saved; empty for a new scene.
    const std::string& PathName() const { return pathName_; }
    // What the last opening found of each texture.
    const SceneLoadResult& LastLoad() const { return lastLoad_; }
    // Changes that the scene file or the object file beside it would keep
    // and that were not saved: objects, their placement, material and texture,
    // the scene's textures, and property edits of the working object. Moving a
    // light, the cage's size and the zoom preset are undo steps, but a scene
    // file stores none of them (the cage's size only when the file opened
    // keeps one: see Cage).
    bool HasUnsavedChanges() const;
    // Whether a file dropped on the view would be opened: a scene file, or
    // one whose extension a plug-in reads.
    bool OpensDroppedFile(const std::string& path) const;
    // The folder the Import dialog starts in: "Meshes" below the start
    // folder or beside the program, else the game folder's "Meshes", else
    // the start folder.
    std::string ImportStartFolder() const;

    // --- Commands: each is one undo step ---------------------------------------
    // Imports `path` with `plugin` (none: the one that takes its extension) as
    // a mesh added to the scene ("Import") and selected, standing on the
    // footprint with its origin in the middle of its box, sized and turned as
    // `options` say (PlaceImportedMesh). Fails, with no step, when no plug-in
    // takes the file, the plug-in's mesh breaks the plug-in contract or it
    // holds no face.
    Result<COGLMesh*> ImportFile(const std::string& path, const CPlugin* plugin = nullptr,
                                 const ImportOptions& options = {});
    // A new object of one of kInsertableKinds ("Insert Box", ...), or a 3-D
    // text ("Insert Text"), standing on the footprint, selected. Null (no
    // step) for another kind, or a text that cannot be made
    // (WhyTextCannotBeMade).
    COGLObject* InsertObject(ObjectKind kind);
    COGLObject* InsertText(const TextRequest& request);
    // Adds `object` (made in the active context) to the scene as the step
    // `text`; selected or not.
    enum class Added { Selected, NotSelected };
    COGLObject& AddObject(std::unique_ptr<COGLObject> object, std::string text, Added added = Added::Selected);
    // A copy of the selected object in its place ("Copy"), selected; a mesh's
    // copy shares its faces and vertices. Nothing (false) without a selected
    // object: a light is not copied.
    bool CopySelection();
    bool CanCopySelection() const;
    // The selected object taken out of the scene ("Delete"); nothing selected.
    bool DeleteSelection();
    // Every object and texture taken away ("Clear the Scene"); nothing selected.
    void ClearScene();
    // Reads the image `path` into a new texture of the scene ("Load Texture").
    // Null when it does not load (the image loader said why).
    COGLTexture2D* LoadTexture(const std::string& path);
    // The object's texture and how it lies on the object, as one step `text`
    // ("Use Texture", "Effected by Lighting"); a texture that does not load
    // stays off. Nothing when that changes nothing.
    void SetObjectTexture(COGLObject& object, const ObjectTextureState& state, std::string text);
    // The picture `path` (empty: none) as the texture of face group `group` of
    // part `part` of `mesh` ("Group Texture"). Fails, changing nothing, when
    // there is no such group or the picture does not load.
    Status SetGroupTexture(COGLMesh& mesh, std::size_t part, std::size_t group, const std::string& path);

    // A drag of the tools: the object has already been moved (drawn at once,
    // and the change announced here, but no step yet)...
    void PlacementMoved(COGLObject& object);
    // ...and the drag ends: from `before` to where the object is now, one step
    // `text`; none when it did not move.
    void CommitPlacement(COGLObject& object, const ObjectPlacement& before, std::string text);
    // ...or is cancelled: the object back at `before`, no step.
    void CancelPlacement(COGLObject& object, const ObjectPlacement& before);

    // --- Selection -------------------------------------------------------------
    // The one way to change the selection: an object of the scene, a light, or
    // nothing. An object the scene does not hold selects nothing.
    void Select(const SelectedItem& item);
    const SelectedItem& Selection() const { return selection_; }
    // What the tools act on: the selected object, or a selected light's marker.
    COGLObject* SelectionTarget() const;

    // --- Undo ------------------------------------------------------------------
    const UndoHistory& History() const { return history_; }
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    void Undo();
    void Redo();

    // --- What the view shows of the object ---------------------------------------
    // The footprint cage's size and the camera's zoom preset: the view draws
    // them; the object panel changes them as undo steps. A scene file that
    // keeps its cage (COGLScene::SavedCage) gives it to the document when
    // opened and is saved with the document's.
    const CageSize& Cage() const { return cage_; }
    void SetCage(const CageSize& size);
    ZoomPreset Zoom() const { return zoom_; }
    void SetZoom(ZoomPreset preset);
    // The zoom tool and the wheel leave the presets (Free), without a step.
    void ReleaseZoomPreset();

    // --- Announcements -------------------------------------------------------------
    // Emitted once after every command, undo, redo, opening and saving, with
    // what it touched.
    Signal<DocumentChanges>& Changed() { return changed_; }

private:
    void Announce(DocumentChanges changes);
    // Does `command` and records it as a step / records a step already done;
    // then announces `changes` with the history's.
    void Do(std::unique_ptr<UndoCommand> command, DocumentChanges changes);
    void Record(std::unique_ptr<UndoCommand> command, DocumentChanges changes);
    // Drops a selection whose object or light the scene no longer holds.
    DocumentChanges ValidateSelection();
    void EmptyHistory();
    void OnObjectFileReplaced(CObjectFile* file);

    std::optional<std::string> commandLineGameFolder_;
    std::vector<std::string> sampleFolders_;
    GameFolderChoice gameFolder_;
    ObjectCatalog catalog_;
    // After the catalog: its file closes before the catalog's do.
    WorkingObjectFile workingObject_;
    CPluginManager plugins_;
    std::unique_ptr<COGLScene> scene_;
    // After the scene: its commands point into the scene and go first.
    UndoHistory history_;
    SelectedItem selection_;
    std::string pathName_;
    SceneLoadResult lastLoad_;
    CageSize cage_{1, 1, 1};
    ZoomPreset zoom_ = ZoomPreset::Medium;
    Signal<DocumentChanges> changed_;
};

} // namespace zelvane
