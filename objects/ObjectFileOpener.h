#pragma once
// Opening an object file, the one way zelvane-cli's commands and the editor
// do it, and finding and placing resources in it for a change.
//
//  - The folder holding the file is mounted in the process's file system
//    first, so companions are found whatever their case and files packed in
//    that folder's FAR archives open like plain ones.
//  - The file named must open by itself as an IFF file: a set would quietly
//    stand on a companion and hide what is wrong with it.
//  - With its companions, an ".iff" or ".spf" file is the editor's set
//    ("x.iff", "x.spf" and the "x.dir" folder, CTGObjResFileSet); any other
//    file, or one asked for alone, is opened by itself.
//  - For reading, every member is opened read-only: looking never writes.
//  - For a change, the file named must be writable, and a file packed in a
//    FAR archive is refused with one message. A companion is checked when a
//    change reaches it (FindForChange, Route).

#include "resfile/CTGIffFile.h"
#include "resfile/CTGResFile.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

class CTGObjResFileSet;

enum class OpenPurpose { Read, Change };
enum class Companions { Included, Excluded };
enum class MountFolder { Yes, No };

struct ObjectFileOptions {
    OpenPurpose purpose = OpenPurpose::Read;
    Companions companions = Companions::Included;
    // ForceScan builds every member's index from its chunk headers.
    IndexMode index = IndexMode::PreferMap;
    MountFolder mount = MountFolder::Yes;
};

class ObjectFileOpener {
public:
    struct Skipped {
        std::string path;
        std::string reason;
    };
    struct Found {
        CTGResFile* member = nullptr;
        ResHandle* data = nullptr;
        explicit operator bool() const { return data != nullptr; }
    };

    // False when the file cannot be opened for the purpose; `error` then says
    // why in a few words ("no such file", "is a folder, not an object file",
    // the archive refusal, "is read-only", or the library's error text).
    [[nodiscard]] bool Open(const std::string& path, const ObjectFileOptions& options, std::string& error);

    // The container for lookups: the set, or the file alone. Only after a
    // successful Open.
    CTGResFile& Container() { return *container_; }
    // Hands the container over (to a CObjectFile); nothing is open here then.
    std::unique_ptr<CTGResFile> TakeContainer() { return std::move(container_); }
    // Members in slot order; the file alone is its own only member.
    std::vector<CTGResFile*> Members() const;
    // Companions that exist but could not be opened, and why.
    const std::vector<Skipped>& SkippedCompanions() const { return skipped_; }

    // The resource with exactly this type, id and attribute, in the first
    // member that has it. Not found is no error; a resource that is there but
    // cannot be read is (false, with the reason in `error`).
    [[nodiscard]] bool Find(ResType type, int16_t id, uint8_t attribute, Found& found, std::string& error);
    // Find for a change: false, with `subject` (the file to name) and `error`
    // set, when the resource is missing or unreadable or its member cannot be
    // written.
    [[nodiscard]] bool FindForChange(ResType type, int16_t id, uint8_t attribute, Found& found, std::string& subject,
                                     std::string& error);
    // Whether a resource could take this type, id and attribute without two
    // resources sharing them (lookups would find only one): false, with
    // `subject` and `error` ("OBJD 129 already exists"), when one holds them
    // already or a member cannot be read.
    [[nodiscard]] bool IdIsFree(ResType type, int16_t id, uint8_t attribute, std::string& subject, std::string& error);
    // The member a new resource of this type goes to, as the set chooses it;
    // nullptr with `subject` and `error` when that member cannot be written
    // or no member takes the type.
    CTGResFile* Route(ResType type, std::string& subject, std::string& error);

    // Writes what is unwritten and every changed member's map. 0 or the first error.
    [[nodiscard]] int32_t Close();

    // Empty when the member can be written, else why not.
    static std::string WhyReadOnly(CTGResFile& member);
    // A member's file as people should see it.
    static std::string PathOf(CTGResFile& member);

    // The editor's set over "x.iff", "x.spf" and "x.dir" for the path "x"
    // (or any "x.ext"), read-only for reading; nullptr with the library's code
    // in `code` when no member opens. No checks: for the catalog, which lists
    // what opens, and for the working object file.
    static std::unique_ptr<CTGObjResFileSet> OpenSet(std::string_view path, OpenPurpose purpose, int32_t& code);

private:
    void NoteSkippedCompanions(const std::string& path);

    std::unique_ptr<CTGResFile> container_;
    std::vector<Skipped> skipped_;
};

// "STR# 130" or "BHAV 4096 attribute 7", for messages.
std::string ResourceText(ResType type, int32_t id, uint8_t attribute);

// A member's path for people: as it was opened, but with the file's name
// spelled as on disk (the set derives companion names in lower case).
std::string DisplayPath(const std::string& openedAs);

// Whether a file's extension (".iff" or ".spf", any case) gives it companions.
bool HasCompanions(const std::string& path);

// Mounts the folder holding the file (and its ".dir" companion) in the
// process's file system, as Open does before opening anything.
void MountFolderOf(const std::string& path);

} // namespace zelvane
