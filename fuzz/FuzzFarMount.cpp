// Mounts arbitrary bytes as a FAR archive next to a plain file and a plain
// folder, walks the tree the way the object catalog does and reads every file
// it lists through CTGFile. An archive entry must read back exactly its own
// bytes of the archive and nothing past them; every entry of the manifest
// must be known to the tree; the manifest reader must only yield clean names
// inside the archive.

#include "fuzz/FuzzSupport.h"
#include "resfile/CTGFile.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/FarManifest.h"
#include "resfile/ResErrors.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace zelvane;

namespace {

// Overlapping entries can make a small archive list thousands of large files.
constexpr size_t kMaxEntriesRead = 1000;

const std::string& GameFolder()
{
    static const std::string folder = [] {
        const std::string path = fuzz::ScratchFolder() + "/game";
        std::filesystem::create_directories(path + "/sub");
        static const uint8_t plain[] = {'p', 'l', 'a', 'i', 'n'};
        // Archive entries that collide with these must lose to them.
        fuzz::WriteWholeFile(path + "/plain.iff", plain, sizeof plain);
        fuzz::WriteWholeFile(path + "/sub/inner.iff", plain, sizeof plain);
        return path;
    }();
    return folder;
}

void ReadEntry(CTGFileSystem& fileSystem, const std::string& path, const std::vector<uint8_t>& archive)
{
    FsEntryInfo info;
    fuzz::Check(fileSystem.Lookup(path, info), "a listed file is unknown to the tree", path);
    CTGFile file(fileSystem);
    fuzz::Check(file.Open(path) == kResOk, "a listed file does not open", path);
    uint64_t size = 0;
    fuzz::Check(file.GetEOF(size) == kResOk, "a listed file has no size", path);
    if (info.inArchive) {
        fuzz::Check(!file.IsWritable(), "an archive entry opened for writing", path);
        fuzz::Check(size == info.length, "an archive entry's size differs from its manifest length", path);
        fuzz::Check(info.archiveOffset <= archive.size() && size <= archive.size() - info.archiveOffset,
                    "an archive entry reaches past the archive", path);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size) + 1, 0);
    fuzz::Check(file.ReadAt(0, bytes.data(), static_cast<uint32_t>(size)) == kResOk, "a whole file does not read",
                path);
    if (info.inArchive)
        fuzz::Check(size == 0 || std::memcmp(bytes.data(), archive.data() + info.archiveOffset, size) == 0,
                    "an archive entry reads other bytes than its own", path);
    fuzz::Check(file.Read(bytes.data(), 1) == kErrShortRead, "a read past the end succeeded", path);
    fuzz::Check(file.Seek(size + 1) != kResOk, "a seek past the end succeeded", path);
    file.Close();
}

void Walk(CTGFileSystem& fileSystem, const std::string& folder, const std::vector<uint8_t>& archive, size_t& budget)
{
    FsFind find;
    FsFindData item;
    for (bool more = fileSystem.FindFirst(folder + "/*", find, item); more && budget > 0;
         more = fileSystem.FindNext(find, item)) {
        --budget;
        const std::string path = folder + "/" + item.name;
        if (item.folder)
            Walk(fileSystem, path, archive, budget);
        else
            ReadEntry(fileSystem, path, archive);
    }
}

void CheckManifest(CTGFileSystem& fileSystem, const std::string& archivePath, const std::vector<uint8_t>& archive)
{
    const int fd = ::open(archivePath.c_str(), O_RDONLY | O_CLOEXEC);
    fuzz::Check(fd >= 0, "cannot open the archive", archivePath);
    const FarManifest manifest = ReadFarManifest(fd, archive.size());
    ::close(fd);
    for (const FarEntry& entry : manifest.entries) {
        fuzz::Check(entry.offset <= archive.size() && entry.length <= archive.size() - entry.offset,
                    "a manifest entry reaches past the archive", entry.name);
        fuzz::Check(!entry.name.empty() && CleanArchiveName(entry.name) == entry.name,
                    "a manifest name is not clean", entry.name);
        FsEntryInfo info;
        fuzz::Check(fileSystem.Lookup(GameFolder() + "/" + entry.name, info), "a manifest entry is not in the tree",
                    entry.name);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string archivePath = GameFolder() + "/a.far";
    fuzz::WriteWholeFile(archivePath, data, size);
    const std::vector<uint8_t> archive(data, data + size);

    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    fileSystem.SetDebugSink([](const std::string&) {});
    fileSystem.Reset();
    fileSystem.Mount(GameFolder(), MountRecurse::Yes, MountArchives::Yes);

    size_t budget = kMaxEntriesRead;
    Walk(fileSystem, GameFolder(), archive, budget);
    CheckManifest(fileSystem, archivePath, archive);

    FsEntryInfo info;
    fuzz::Check(fileSystem.Lookup(GameFolder() + "/plain.iff", info) && !info.inArchive,
                "an archive entry shadows a plain file");
    fileSystem.Reset();
    return 0;
}
