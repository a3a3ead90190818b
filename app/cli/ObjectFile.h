#pragma once
// An object file opened for the commands that read one. With the default index
// it is opened the way the editor opens it (a CTGObjResFileSet: "x.iff" with
// its "x.spf" companion and "x.dir" folder); a forced scan opens the same
// files one by one so that every index is built from the chunk headers.
//
// Before anything is opened, the folder holding the file is mounted in the
// process's file system, so companions are found whatever their case and
// files packed in that folder's FAR archives open like plain ones.

#include "resfile/CTGIffFile.h"
#include "resfile/CTGResFile.h"

#include <memory>
#include <string>
#include <vector>

namespace zelvane::cli {

class ObjectFile {
public:
    struct Skipped {
        std::string path;
        std::string reason;
    };

    // False when the file itself cannot be used; `error` then says why in a
    // few words (no such file, a folder, or the library's error text).
    bool Open(const std::string& path, IndexMode mode, std::string& error);

    // The container for lookups: a set over the members, or the file alone.
    CTGResFile& Container() { return *container_; }
    // Members in slot order; the file alone is its own only member.
    std::vector<CTGResFile*> Members() const;
    // Companions that exist but could not be opened, and why.
    const std::vector<Skipped>& SkippedCompanions() const { return skipped_; }

private:
    void NoteSkippedCompanions(const std::string& path);

    std::unique_ptr<CTGResFile> container_;
    std::vector<Skipped> skipped_;
};

// A member's path for people: as it was opened, but with the file's name
// spelled as on disk (the set derives companion names in lower case).
std::string DisplayPath(const std::string& openedAs);

// Whether a file's extension (".iff" or ".spf", any case) gives it companions.
bool HasCompanions(const std::string& path);

// Mounts the folder holding the file (and its ".dir" companion) in the
// process's file system, as Open does before opening anything.
void MountFolderOf(const std::string& path);

} // namespace zelvane::cli
