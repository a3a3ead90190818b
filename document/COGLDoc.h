#pragma once
// The editor's one document: it finds the game folder and owns the catalog of
// the game's objects, rebuilt at every new document, and the working object
// file cloned from one of them; it frames the scene file (".cgs": the 8 bytes
// "CGS1" and version 1 before the scene's part), carries the working object
// file beside it and back, and keeps the undo history of the scene's changes.

#include "document/UndoHistory.h"
#include "document/WorkingObjectFile.h"
#include "objects/GameFolder.h"
#include "objects/ObjectCatalog.h"
#include "scene/SceneLoadResult.h"

#include <optional>
#include <string>
#include <vector>

namespace zelvane {

class COGLScene;

// The texts of the framework's load and save error reports, followed by the cause.
inline constexpr const char* kInvalidFilenameText = "Invalid filename.";
inline constexpr const char* kFailedToSaveText = "Failed to save document.";
inline constexpr const char* kFailedToOpenText = "Failed to open document.";

enum class OpenDocumentOutcome {
    NotASceneFile, // not ".cgs": nothing was done
    Opened,
    Failed,        // the user was told why
};

class COGLDoc {
public:
    // The working object file goes to `workingObjectPath` (empty: the user's
    // data folder, DefaultWorkingObjectFilePath()).
    COGLDoc(std::optional<std::string> commandLineGameFolder, std::vector<std::string> sampleFolders,
            std::string workingObjectPath = {});

    // The new-document step: finds the game folder again and rebuilds the catalog.
    void OnNewDocument();

    const GameFolderChoice& GameFolder() const { return gameFolder_; }
    const ObjectCatalog& Catalog() const { return catalog_; }
    ObjectCatalog& Catalog() { return catalog_; }
    WorkingObjectFile& WorkingObject() { return workingObject_; }
    const WorkingObjectFile& WorkingObject() const { return workingObject_; }

    // Every change of the scene, undoable; emptied when a scene is made or
    // opened.
    UndoHistory& History() { return history_; }
    const UndoHistory& History() const { return history_; }

    // Saves `scene` as the scene file `path` (with the wait cursor): written
    // beside it and moved into its place once complete, so a save that fails
    // leaves an earlier file there as it was; then the working object file
    // goes beside it (WorkingObjectFile::CopyBesideScene). The document's path
    // does not change. False when the scene file was not saved, after telling
    // the user why: "Invalid filename." when it cannot be created, "Failed to
    // save document." when it cannot be written, each with the cause. An
    // object file that cannot be copied is reported too, but the scene file
    // stays saved (true).
    bool OnSaveDocument(const std::string& path, COGLScene& scene);

    // Reads the scene file `path` into `scene` (with the wait cursor), which
    // the caller has cleared. False, after telling the user why, when the file
    // cannot be read ("Invalid filename." and the cause), is not a scene file
    // or of version 0, or holds a record that cannot be read ("Failed to open
    // document." and which record and why; what was read before it stays in
    // the scene). A complete read sets the document's path. LastLoad() holds
    // the details, such as textures the user gave up on. Object files are left
    // alone (the command-line tool reads scene files this way).
    bool OnOpenDocument(const std::string& path, COGLScene& scene);

    // The application's open step for a file chosen, named on the command
    // line or taken from the recent files: a path whose extension is not
    // ".cgs" (in any case) changes nothing; otherwise the scene is cleared and
    // the file opened, and after a complete read the object file beside it
    // becomes the working object file (WorkingObjectFile::TakeFromScene; the
    // user is asked first when that would lose unsaved edits, and told when
    // it fails, which leaves the scene opened).
    OpenDocumentOutcome OpenDocumentFile(const std::string& path, COGLScene& scene);

    // The scene file last opened completely; empty before.
    const std::string& PathName() const { return pathName_; }
    const SceneLoadResult& LastLoad() const { return lastLoad_; }

private:
    std::optional<std::string> commandLineGameFolder_;
    std::vector<std::string> sampleFolders_;
    GameFolderChoice gameFolder_;
    ObjectCatalog catalog_;
    // After the catalog: its file closes before the catalog's do.
    WorkingObjectFile workingObject_;
    UndoHistory history_;
    std::string pathName_;
    SceneLoadResult lastLoad_;
};

} // namespace zelvane
