#pragma once
// The process-wide index of the game's folders and of the files packed in its
// FAR archives. Files inside an archive are found, listed and opened exactly
// like plain files (read-only); they appear in the folder that holds the
// archive. Lookups ignore case and accept "\" and "/" alike; every entry keeps
// its real on-disk path for opening.

#include "resfile/FsOpenFile.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelvane {

struct FsFindData {
    std::string name; // as on disk (or as named in the archive)
    bool folder = false;
    bool writable = false;
};

// Position of a FindFirst/FindNext walk.
struct FsFind {
    std::vector<FsFindData> matches;
    size_t next = 0;
};

// What the tree knows of one path (for listings and tests).
struct FsEntryInfo {
    std::string realPath;     // on-disk path of a plain file or folder; the archive's path for archive entries
    bool folder = false;
    bool inArchive = false;
    bool writable = false;
    uint32_t archiveOffset = 0;
    uint32_t length = 0;      // archive entries only
};

enum class MountRecurse { No, Yes };
enum class MountArchives { No, Yes };
enum class OpenAccess { ReadOnly, ReadWrite };

class CTGFileSystem {
public:
    // The one instance of the process.
    static CTGFileSystem& Instance();

    CTGFileSystem();
    ~CTGFileSystem();
    CTGFileSystem(const CTGFileSystem&) = delete;
    CTGFileSystem& operator=(const CTGFileSystem&) = delete;

    // Indexes a folder, optionally its sub-folders and the archives in them.
    // Unreadable folders and archives are skipped (archives with a debug message).
    void Mount(std::string_view folder, MountRecurse recurse, MountArchives archives);
    // Forgets every entry and lets go of every archive (an archive stays open
    // while an entry of it is still open).
    void Reset();

    bool Exists(std::string_view path) const;
    // True for a folder the tree knows or the disk has.
    bool IsFolder(std::string_view path) const;
    bool Lookup(std::string_view path, FsEntryInfo& info) const;
    // nullptr when the path cannot be opened with that access; `missing` (when
    // given) tells a path that does not exist from one that cannot be opened.
    std::unique_ptr<FsOpenFile> OpenRecord(std::string_view path, OpenAccess access, bool* missing = nullptr);
    // Both return 0 or a library error code (-42/-43, -39/-40).
    [[nodiscard]] int32_t CreateEmpty(std::string_view path);
    [[nodiscard]] int32_t Remove(std::string_view path);
    // Renames a plain file over another (atomically), then syncs the folder.
    // Returns 0 or -46.
    [[nodiscard]] int32_t Replace(std::string_view from, std::string_view to);
    // The on-disk path the tree knows for a path, or the path with "/" separators.
    std::string RealPath(std::string_view path) const;

    // Lists the children of the pattern's folder whose names match its mask.
    bool FindFirst(std::string_view pattern, FsFind& find, FsFindData& out) const;
    bool FindNext(FsFind& find, FsFindData& out) const;

    // Where debug messages (such as an archive that cannot be opened) go.
    void SetDebugSink(std::function<void(const std::string&)> sink);

    size_t EntryCount() const;
    size_t ArchiveCount() const;

private:
    struct Entry {
        std::string name;
        std::string realPath;
        int archive = -1;          // index into archives_, -1 for plain files and folders
        uint32_t offset = 0;
        uint32_t length = 0;
        bool inArchive = false;
        bool writable = false;
        bool folder = false;
        bool listed = false;       // children known: listed from disk, or made up from archive paths
        std::map<std::string, Entry*> children; // lower-case name → child
    };
    struct Archive {
        std::string path;
        std::shared_ptr<ArchiveDescriptor> descriptor;
    };

    void MountFolder(const std::string& realFolder, MountRecurse recurse, MountArchives archives, int depth);
    void MountArchive(const std::string& realPath);
    Entry* AddEntry(const std::string& key, Entry entry);
    void AddParents(const std::string& key, const std::string& realKeyPath);
    const Entry* Find(std::string_view path) const;
    // Forgets one entry and unlinks it from its folder (the caller holds the lock).
    void EraseEntry(const std::string& key);
    void Debug(const std::string& message) const;

    mutable std::mutex mutex_;   // guards the tree
    std::unordered_map<std::string, std::unique_ptr<Entry>> entries_;
    std::vector<Archive> archives_;
    std::function<void(const std::string&)> debugSink_;
};

} // namespace zelvane
