#pragma once
// An open file as the file system hands it out: a plain file with its own
// descriptor, or an entry inside a FAR archive that shares the archive's
// descriptor and sees only its own byte range.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace zelvane {

// An archive's descriptor, shared by the file system and every open entry of
// the archive: it stays valid until the last of them lets go, so forgetting
// the tree never pulls a file from under a reader.
struct ArchiveDescriptor {
    explicit ArchiveDescriptor(int descriptor) : fd(descriptor) {}
    ~ArchiveDescriptor();
    ArchiveDescriptor(const ArchiveDescriptor&) = delete;
    ArchiveDescriptor& operator=(const ArchiveDescriptor&) = delete;

    int fd;
    std::mutex lock; // serialises reads through the shared descriptor
};

class FsOpenFile {
public:
    struct PlainFile {};
    struct ArchiveEntry {};

    FsOpenFile(PlainFile, std::string path, int fd, bool writable);
    FsOpenFile(ArchiveEntry, std::string path, std::shared_ptr<ArchiveDescriptor> archive, uint64_t offset,
               uint32_t length);
    ~FsOpenFile();
    FsOpenFile(const FsOpenFile&) = delete;
    FsOpenFile& operator=(const FsOpenFile&) = delete;

    const std::string& Path() const { return path_; }
    bool IsShared() const { return shared_; }
    bool IsWritable() const { return writable_; }
    uint64_t Position() const { return position_; }

    // All return 0 or a negative library error code.
    [[nodiscard]] int32_t Read(void* buffer, uint32_t count);
    [[nodiscard]] int32_t Write(const void* buffer, uint32_t count);
    // Absolute position; positions beyond the end fail with -48.
    [[nodiscard]] int32_t Seek(uint64_t position);
    [[nodiscard]] int32_t Length(uint64_t& length) const;
    [[nodiscard]] int32_t Truncate(uint64_t length);
    [[nodiscard]] int32_t Flush();
    // With deferred syncing, Flush only marks the file and the data reaches
    // the disk once, at SyncNow (or never, for a file about to be thrown away).
    void DeferSync(bool defer) { deferSync_ = defer; }
    [[nodiscard]] int32_t SyncNow();

private:
    std::string path_;
    int fd_ = -1;
    uint64_t offset_ = 0;  // start of this file's bytes inside the host file
    // Archive entries: the entry's length. Plain files: the size, read once at
    // open and kept up to date by our own writes (nobody else writes a file
    // a container has open), so reads and seeks need no system call.
    uint64_t length_ = 0;
    uint64_t position_ = 0;
    bool shared_ = false;
    bool writable_ = false;
    bool deferSync_ = false;
    bool unsynced_ = false;
    std::shared_ptr<ArchiveDescriptor> archive_;
};

} // namespace zelvane
