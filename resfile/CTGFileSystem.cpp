// The file system tree: mounting folders and FAR archives, lookups, opening
// records, and the FindFirst/FindNext walk.
//
//   1. Helpers (keys, buffered archive reader, manifest names)
//   2. Mounting folders and archives
//   3. Lookups and opening
//   4. Listing

#include "resfile/CTGFileSystem.h"

#include "resfile/FarManifest.h"
#include "resfile/PathUtil.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvane {

// ---------------------------------------------------------------------------
// 1. Helpers

namespace {

constexpr int kMaxFolderDepth = 64;

std::string ParentKey(const std::string& key)
{
    const size_t sep = key.find_last_of('/');
    if (sep == std::string::npos)
        return {};
    return sep == 0 ? std::string("/") : key.substr(0, sep);
}

std::string LastComponent(std::string_view path)
{
    const size_t sep = path.find_last_of('/');
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string JoinPath(const std::string& folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

bool IsWritableMode(mode_t mode)
{
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

} // namespace

CTGFileSystem& CTGFileSystem::Instance()
{
    static CTGFileSystem instance;
    return instance;
}

CTGFileSystem::CTGFileSystem() = default;

CTGFileSystem::~CTGFileSystem()
{
    Reset();
}

void CTGFileSystem::Reset()
{
    std::lock_guard guard(mutex_);
    entries_.clear();
    archives_.clear();
}

void CTGFileSystem::SetDebugSink(std::function<void(const std::string&)> sink)
{
    debugSink_ = std::move(sink);
}

void CTGFileSystem::Debug(const std::string& message) const
{
    if (debugSink_)
        debugSink_(message);
}

size_t CTGFileSystem::EntryCount() const
{
    return entries_.size();
}

size_t CTGFileSystem::ArchiveCount() const
{
    return archives_.size();
}

// ---------------------------------------------------------------------------
// 2. Mounting

CTGFileSystem::Entry* CTGFileSystem::AddEntry(const std::string& key, Entry entry)
{
    auto it = entries_.find(key);
    if (it != entries_.end()) {
        // Overwrite in place: parents keep pointing at it and a folder keeps its children.
        Entry& existing = *it->second;
        auto children = std::move(existing.children);
        existing = std::move(entry);
        existing.children = std::move(children);
        return &existing;
    }
    auto owned = std::make_unique<Entry>(std::move(entry));
    Entry* raw = owned.get();
    entries_.emplace(key, std::move(owned));
    const std::string parent = ParentKey(key);
    if (!parent.empty() && parent != key) {
        auto p = entries_.find(parent);
        if (p != entries_.end())
            p->second->children[AsciiLower(raw->name)] = raw;
    }
    return raw;
}

void CTGFileSystem::AddParents(const std::string& key, const std::string& realPath)
{
    std::string parentKey = ParentKey(key);
    std::string parentReal = ParentKey(realPath);
    std::vector<std::pair<std::string, std::string>> missing;
    while (!parentKey.empty() && entries_.find(parentKey) == entries_.end()) {
        missing.emplace_back(parentKey, parentReal);
        const std::string next = ParentKey(parentKey);
        if (next == parentKey)
            break;
        parentKey = next;
        parentReal = ParentKey(parentReal);
    }
    // Add from the outermost missing folder inwards so each links to its parent.
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        Entry folder;
        folder.name = LastComponent(it->second);
        folder.realPath = it->second;
        folder.folder = true;
        folder.writable = true;
        folder.listed = true;
        AddEntry(it->first, std::move(folder));
    }
    // The child was added before its parents existed: link it now.
    auto child = entries_.find(key);
    auto parent = entries_.find(ParentKey(key));
    if (child != entries_.end() && parent != entries_.end() && parent->second.get() != child->second.get())
        parent->second->children[AsciiLower(child->second->name)] = child->second.get();
}

void CTGFileSystem::Mount(std::string_view folder, MountRecurse recurse, MountArchives archives)
{
    std::string real = ToNativeSeparators(folder);
    while (real.size() > 1 && real.back() == '/')
        real.pop_back();
    if (real.empty())
        real = ".";
    std::lock_guard guard(mutex_);
    MountFolder(real, recurse, archives, 0);
}

void CTGFileSystem::MountFolder(const std::string& realFolder, MountRecurse recurse, MountArchives archives, int depth)
{
    DIR* dir = ::opendir(realFolder.c_str());
    if (!dir) {
        Debug("Couldn't list folder '" + realFolder + "'.");
        return;
    }
    struct stat folderStat {};
    ::stat(realFolder.c_str(), &folderStat);

    const std::string folderKey = NormalizePathKey(realFolder);
    if (entries_.find(folderKey) == entries_.end()) {
        Entry self;
        self.name = LastComponent(realFolder);
        self.realPath = realFolder;
        self.folder = true;
        self.writable = IsWritableMode(folderStat.st_mode);
        AddEntry(folderKey, std::move(self));
    }
    entries_[folderKey]->listed = true;

    std::vector<std::string> names;
    while (dirent* item = ::readdir(dir)) {
        const std::string_view name(item->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    // Listing order is the system's whim; sort (ignoring case) so mounting is reproducible.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = AsciiLower(a), lb = AsciiLower(b);
        return la != lb ? la < lb : a < b;
    });

    for (const std::string& name : names) {
        const std::string real = JoinPath(realFolder, name);
        struct stat st {};
        if (::stat(real.c_str(), &st) != 0)
            continue;
        const std::string key = folderKey == "/" ? "/" + AsciiLower(name) : folderKey + "/" + AsciiLower(name);
        if (S_ISDIR(st.st_mode)) {
            Entry folder;
            folder.name = name;
            folder.realPath = real;
            folder.folder = true;
            folder.writable = IsWritableMode(st.st_mode);
            AddEntry(key, std::move(folder));
            // Symbolic links can make cycles; the depth limit ends them.
            if (recurse == MountRecurse::Yes && depth < kMaxFolderDepth)
                MountFolder(real, recurse, archives, depth + 1);
            continue;
        }
        if (!S_ISREG(st.st_mode))
            continue;
        const bool isArchive = name.size() >= 3 && AsciiLower(name.substr(name.size() - 3)) == "far";
        if (isArchive) {
            if (archives == MountArchives::Yes)
                MountArchive(real);
            continue;
        }
        Entry file;
        file.name = name;
        file.realPath = real;
        file.writable = IsWritableMode(st.st_mode);
        AddEntry(key, std::move(file));
    }
}

void CTGFileSystem::MountArchive(const std::string& realPath)
{
    // Mounting a folder again must not open its archives a second time.
    for (const Archive& known : archives_)
        if (known.path == realPath)
            return;
    const int fd = ::open(realPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        Debug("Couldn't Open file '" + realPath + "' for mapping.");
        return;
    }
    const int archiveIndex = static_cast<int>(archives_.size());
    archives_.push_back({realPath, std::make_shared<ArchiveDescriptor>(fd)});

    const FarManifest manifest = ReadFarManifest(fd, static_cast<uint64_t>(st.st_size));
    for (const std::string& note : manifest.notes)
        Debug("'" + realPath + "': " + note);

    const std::string archiveFolder = ParentKey(realPath);
    const std::string folderKey = NormalizePathKey(archiveFolder.empty() ? "." : archiveFolder);
    for (const FarEntry& item : manifest.entries) {
        const std::string key = (folderKey == "/" ? std::string() : folderKey) + "/" + AsciiLower(item.name);
        if (entries_.find(key) != entries_.end())
            continue;
        Entry entry;
        entry.name = LastComponent(item.name);
        entry.realPath = realPath;
        entry.archive = archiveIndex;
        entry.offset = item.offset;
        entry.length = item.length;
        entry.inArchive = true;
        AddEntry(key, std::move(entry));
        AddParents(key, JoinPath(archiveFolder, item.name));
    }
}

// ---------------------------------------------------------------------------
// 3. Lookups and opening

void CTGFileSystem::EraseEntry(const std::string& key)
{
    auto it = entries_.find(key);
    if (it == entries_.end())
        return;
    auto parent = entries_.find(ParentKey(key));
    if (parent != entries_.end())
        parent->second->children.erase(AsciiLower(it->second->name));
    entries_.erase(it);
}

const CTGFileSystem::Entry* CTGFileSystem::Find(std::string_view path) const
{
    if (entries_.empty())
        return nullptr;
    auto it = entries_.find(NormalizePathKey(path));
    return it == entries_.end() ? nullptr : it->second.get();
}

bool CTGFileSystem::Lookup(std::string_view path, FsEntryInfo& info) const
{
    std::lock_guard guard(mutex_);
    const Entry* entry = Find(path);
    if (!entry)
        return false;
    info.realPath = entry->realPath;
    info.folder = entry->folder;
    info.inArchive = entry->inArchive;
    info.writable = entry->writable;
    info.archiveOffset = entry->offset;
    info.length = entry->length;
    return true;
}

bool CTGFileSystem::Exists(std::string_view path) const
{
    {
        std::lock_guard guard(mutex_);
        if (Find(path))
            return true;
    }
    return ::access(ToNativeSeparators(path).c_str(), R_OK) == 0;
}

bool CTGFileSystem::IsFolder(std::string_view path) const
{
    {
        std::lock_guard guard(mutex_);
        if (const Entry* entry = Find(path))
            return entry->folder;
    }
    struct stat st {};
    return ::stat(ToNativeSeparators(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::unique_ptr<FsOpenFile> CTGFileSystem::OpenRecord(std::string_view path, OpenAccess access, bool* missing)
{
    if (missing)
        *missing = false;
    std::string real;
    {
        std::lock_guard guard(mutex_);
        if (const Entry* entry = Find(path)) {
            if (entry->folder)
                return nullptr;
            if (entry->inArchive) {
                if (access == OpenAccess::ReadWrite)
                    return nullptr;
                const Archive& archive = archives_.at(static_cast<size_t>(entry->archive));
                return std::make_unique<FsOpenFile>(FsOpenFile::ArchiveEntry{}, std::string(path),
                                                    archive.descriptor, entry->offset, entry->length);
            }
            real = entry->realPath;
        }
    }
    if (real.empty())
        real = ToNativeSeparators(path);
    const int flags = (access == OpenAccess::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    const int fd = ::open(real.c_str(), flags);
    if (fd < 0) {
        if (missing)
            *missing = errno == ENOENT || errno == ENOTDIR;
        return nullptr;
    }
    // Only regular files: a FIFO or device would block or never end.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FsOpenFile>(FsOpenFile::PlainFile{}, std::string(path), fd, access == OpenAccess::ReadWrite);
}

int32_t CTGFileSystem::CreateEmpty(std::string_view path)
{
    if (Exists(path))
        return kErrCreateExists;
    const std::string real = ToNativeSeparators(path);
    const int fd = ::open(real.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno == EEXIST ? kErrCreateExists : kErrCannotCreate;
    ::close(fd);
    std::lock_guard guard(mutex_);
    const std::string key = NormalizePathKey(real);
    if (!entries_.empty() && entries_.count(ParentKey(key))) {
        Entry file;
        file.name = LastComponent(real);
        file.realPath = real;
        file.writable = true;
        AddEntry(key, std::move(file));
    }
    return kResOk;
}

int32_t CTGFileSystem::Remove(std::string_view path)
{
    std::string real = ToNativeSeparators(path);
    {
        std::lock_guard guard(mutex_);
        if (const Entry* entry = Find(path)) {
            if (entry->inArchive || entry->folder)
                return kErrCannotDelete;
            real = entry->realPath;
        }
    }
    struct stat st {};
    if (::lstat(real.c_str(), &st) != 0)
        return kErrDeleteMissing;
    if (::unlink(real.c_str()) != 0)
        return kErrCannotDelete;
    std::lock_guard guard(mutex_);
    EraseEntry(NormalizePathKey(real));
    return kResOk;
}

std::string CTGFileSystem::RealPath(std::string_view path) const
{
    std::lock_guard guard(mutex_);
    if (const Entry* entry = Find(path); entry && !entry->inArchive)
        return entry->realPath;
    return ToNativeSeparators(path);
}

int32_t CTGFileSystem::Replace(std::string_view from, std::string_view to)
{
    const std::string source = RealPath(from);
    const std::string target = RealPath(to);
    if (::rename(source.c_str(), target.c_str()) != 0)
        return kErrShortWrite;
    // Make the rename itself durable.
    std::string folder = ParentKey(target);
    if (folder.empty())
        folder = ".";
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    std::lock_guard guard(mutex_);
    EraseEntry(NormalizePathKey(source));
    return kResOk;
}

// ---------------------------------------------------------------------------
// 4. Listing

bool CTGFileSystem::FindFirst(std::string_view pattern, FsFind& find, FsFindData& out) const
{
    find = FsFind{};
    const std::string native = ToNativeSeparators(pattern);
    const size_t sep = native.find_last_of('/');
    const std::string folder = sep == std::string::npos ? "." : (sep == 0 ? "/" : native.substr(0, sep));
    const std::string mask = sep == std::string::npos ? native : native.substr(sep + 1);

    {
        std::lock_guard guard(mutex_);
        if (const Entry* entry = Find(folder); entry && entry->folder && entry->listed) {
            for (const auto& [key, child] : entry->children)
                if (WildcardMatch(child->name, mask))
                    find.matches.push_back({child->name, child->folder, child->writable});
            return FindNext(find, out);
        }
    }
    // A folder the tree does not know (or knows without its contents) is listed from the disk.
    const std::string realFolder = RealPath(folder);
    DIR* dir = ::opendir(realFolder.c_str());
    if (!dir)
        return false;
    std::vector<FsFindData> listed;
    while (dirent* item = ::readdir(dir)) {
        const std::string_view name(item->d_name);
        if (name == "." || name == ".." || !WildcardMatch(name, mask))
            continue;
        struct stat st {};
        if (::stat(JoinPath(realFolder, name).c_str(), &st) != 0)
            continue;
        if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))
            continue;
        listed.push_back({std::string(name), S_ISDIR(st.st_mode), IsWritableMode(st.st_mode)});
    }
    ::closedir(dir);
    std::sort(listed.begin(), listed.end(),
              [](const FsFindData& a, const FsFindData& b) { return AsciiLower(a.name) < AsciiLower(b.name); });
    find.matches = std::move(listed);
    return FindNext(find, out);
}

bool CTGFileSystem::FindNext(FsFind& find, FsFindData& out) const
{
    if (find.next >= find.matches.size())
        return false;
    out = find.matches[find.next++];
    return true;
}

} // namespace zelvane
