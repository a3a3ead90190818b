#pragma once
// The working object file: the clone of a base object that the property
// editor changes and that a saved scene carries beside it. The document owns
// it; the scene only points at it (COGLScene::ObjectFile). Whoever shows the
// scene follows every replacement through the file observer, so a scene never
// keeps pointing at a file that is gone.
//
// It also knows whether the file holds edits that exist nowhere else: property
// changes saved into it since it was cloned, or since it was last copied beside
// a saved scene or back from one. Replacing such a file asks the user first.

#include "objects/CObjectFile.h"

#include <functional>
#include <memory>
#include <string>

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

    // Called with the new file whenever another one becomes current: the view
    // points its scene at it. Whoever sets it clears it before it becomes
    // invalid (the document outlives the view, whose scene points at the file).
    void SetFileObserver(std::function<void(CObjectFile*)> observer) { observer_ = std::move(observer); }

    bool HasUnsavedEdits() const { return unsavedEdits_; }
    // The property editor saved changes into the file.
    void NoteEdited() { unsavedEdits_ = file_ != nullptr; }
    // The file was copied beside a saved scene (or back from an opened one):
    // its edits are kept there now.
    void NoteSavedWithScene() { unsavedEdits_ = false; }

    // Opens the file at Path() and makes it current, for when a scene file's
    // companion has just been copied there. False, after "Could NOT open new
    // object file!" was shown, when it cannot be opened: the previous file then
    // stays current.
    bool Reopen();

    enum class CloneOutcome {
        Replaced,  // the clone is the working object file now
        KeptEdits, // the user chose to keep the edited file; nothing was cloned
        Failed,    // the clone or its opening failed and the user was told; the previous file stays current
    };
    // "Select Base Object"'s OK: clones `base` (new GUIDs unused in `catalog`)
    // into Path() and opens the clone as the working object file. When the
    // current file holds unsaved edits the user is asked first.
    CloneOutcome CloneFrom(const CObjectEntry& base, const ObjectCatalog& catalog);

private:
    void MakeCurrent(std::unique_ptr<CObjectFile> file);

    mutable std::string path_;
    std::unique_ptr<CObjectFile> file_;
    std::function<void(CObjectFile*)> observer_;
    bool unsavedEdits_ = false;
};

} // namespace zelvane
