#pragma once
// The working object file: the clone of a base object that the property
// editor changes and that a saved scene carries beside it. It lives at one
// place (zeltemp.iff in the user's data folder) for the whole run: saving a
// scene copies it beside the scene file, opening a scene copies the file
// beside it back here. The document owns the open file; the scene only points
// at it (COGLScene::ObjectFile). Whoever shows the scene follows every
// replacement through the file observer, so a scene never keeps pointing at a
// file that is gone.
//
// It also knows whether the file holds edits that exist nowhere else: property
// changes saved into it since it was cloned, or since it was last copied beside
// a saved scene or back from one. Replacing such a file asks the user first.

#include "objects/CObjectFile.h"
#include "report/Result.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelvane {

class ObjectCatalog;

class WorkingObjectFile {
public:
    // Clones go to `path`; empty: "zeltemp.iff" in the user's data folder
    // (DefaultWorkingObjectFilePath), found when first needed. Nothing is
    // opened yet.
    explicit WorkingObjectFile(std::string path = {});
    ~WorkingObjectFile();
    WorkingObjectFile(const WorkingObjectFile&) = delete;
    WorkingObjectFile& operator=(const WorkingObjectFile&) = delete;

    const std::string& Path() const;
    // The open working object file; null until a clone or a scene brings one.
    CObjectFile* File() const { return file_.get(); }
    // The object the property editor edits: the file's first listed object;
    // null without a file or when it lists none.
    CObjectEntry* CurrentObject() const;

    // Called with the new file whenever another one becomes current (or none):
    // the view points its scene at it. Whoever sets it clears it before it
    // becomes invalid (the document outlives the view, whose scene points at
    // the file).
    void SetFileObserver(std::function<void(CObjectFile*)> observer) { observer_ = std::move(observer); }

    bool HasUnsavedEdits() const { return unsavedEdits_; }
    // Writes the open file's changes with its resource map, keeping it open:
    // the file on disk is then complete, so a copy taken at any moment is a
    // finished object file. Done after every finished change (a clone, a
    // property change, a render); nothing to do for an unchanged file.
    Status Commit();
    // The property editor saved changes into the file.
    void NoteEdited() { unsavedEdits_ = file_ != nullptr; }

    enum class CloneOutcome {
        Replaced,  // the clone is the working object file now
        KeptEdits, // the user chose to keep the edited file; nothing was cloned
        Failed,    // the clone or its opening failed and the user was told; the previous file stays current
    };
    // "Select Base Object"'s OK: clones `base` (new GUIDs unused in `catalog`)
    // into Path() and opens the clone as the working object file. When the
    // current file holds unsaved edits the user is asked first.
    CloneOutcome CloneFrom(const CObjectEntry& base, const ObjectCatalog& catalog);

    // Saving a scene: the file's changes are written out whole (closed, so
    // that its resource map reaches the disk too) and the file is copied
    // beside the scene file ("room.cgs": "room.iff"), replacing what is there
    // only once the copy is complete; then it is opened again and stays the
    // working object file. Its edits count as saved from then on. Succeeds
    // when the copy is in place or there is no working object file; fails,
    // saying why, when the changes could not be written or the copy not made
    // (an earlier "room.iff" is then as it was, and the working file stays
    // open with its edits still unsaved).
    Status CopyBesideScene(const std::string& sceneFilePath);

    enum class SceneCopyOutcome {
        NoneBeside, // no object file lies beside the scene file: nothing changed
        Taken,      // the file beside the scene file is the working object file now
        KeptEdits,  // the user chose to keep the edited working file
    };
    // Opening a scene: the object file beside the scene file is copied over
    // Path() and opened as the working object file. When the current file
    // holds unsaved edits the user is asked first. A file beside the scene
    // that does not open as an object file replaces nothing and fails (the
    // previous working file stays current).
    Result<SceneCopyOutcome> TakeFromScene(const std::string& sceneFilePath);

    enum class RewriteOutcome {
        Rewritten, // the file on disk is new and open again as the working object file
        Unchanged, // `rewrite` gave up (cancelled or failed); the open file is as it was
    };
    // Work that writes the whole file anew beside it and moves it into place
    // (rendering the scene into its sprites). The open file's changes are
    // written out whole first and the file opened again: the work reads the
    // complete file, and the file it replaces is never written to afterwards
    // (closing a changed file writes its map, and may compact it, in place).
    // `rewrite` gets the open file and returns true once it has replaced
    // Path(); the new contents become the working object file (the observer
    // is told) and count as unsaved edits: they exist nowhere else until a
    // scene is saved.
    // Fails, with nothing rewritten, when the open file's changes cannot be
    // written or the file opened again.
    Result<RewriteOutcome> Rewrite(const std::function<bool(CObjectFile&)>& rewrite);

    // The file's bytes on disk, its changes written out first; fails when
    // there is no working object file or it cannot be read.
    Result<std::vector<uint8_t>> Contents();
    // `bytes` as the working object file's whole new contents (an undo step
    // putting back what work replaced), written crash-safely and opened
    // again; they count as unsaved edits.
    Status ReplaceContents(const std::vector<uint8_t>& bytes);

private:
    enum class Edits { Saved, Unsaved };
    void MakeCurrent(std::unique_ptr<CObjectFile> file, Edits edits);
    // Writes and closes the open file; the container's error code, or 0.
    int32_t CloseFile();
    // Opens Path() again after CloseFile, as the current file.
    void OpenAgain(Edits edits);
    // Closes the file, so that everything it holds is on disk, and opens it
    // again with its edits counted as before (also when closing failed).
    Status WriteOutAndReopen();
    // Asks before unsaved edits are lost to `action` ("Cloning ..."); true to go on.
    bool MayReplaceEdits(const std::string& action) const;

    mutable std::string path_;
    std::unique_ptr<CObjectFile> file_;
    std::function<void(CObjectFile*)> observer_;
    bool unsavedEdits_ = false;
};

} // namespace zelvane
