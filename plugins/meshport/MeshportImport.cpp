#include "plugins/meshport/MeshportImport.h"

#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/ThreeDSReader.h"
#include "plugins/meshport/TraceFile.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvane::meshport {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// The whole file, or as much of it as a read gives before it ends early. A
// plain read rather than a mapping, so a file cut short by someone else
// while it is read cannot bring the host down.
bool ReadWholeFile(const char* path, std::unique_ptr<uint8_t[]>& bytes, size_t& size)
{
    const FileDescriptor file(::open(path, O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const auto expected = static_cast<size_t>(info.st_size);
    bytes.reset(new uint8_t[expected ? expected : 1]);
    size = 0;
    while (size < expected) {
        const ssize_t got = ::read(file.get(), bytes.get() + size, expected - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size += static_cast<size_t>(got);
    }
    return true;
}

} // namespace

void ImportBytes(std::span<const uint8_t> bytes, MeshSet& set, TraceMode trace) noexcept
{
    ImportBytes(bytes, "", set, nullptr, trace);
}

void ImportBytes(std::span<const uint8_t> bytes, const char* modelPath, MeshSet& set, MeshMaterials* materials,
                 TraceMode trace) noexcept
{
    ThreeDSModel model;
    try {
        model = ReadThreeDS(bytes);
        if (trace == TraceMode::Write && model.trace)
            WriteTrace(*model.trace);
        HandOverMeshes(model, set);
    } catch (...) {
        SetEmpty(set);
        return;
    }
    // Never throws: without memory the mesh comes without materials.
    if (materials)
        HandOverMaterials(model, modelPath ? modelPath : "", *materials);
}

void ImportFile(const char* path, MeshSet& set, MeshMaterials* materials) noexcept
{
    try {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
        if (path && ReadWholeFile(path, bytes, size)) {
            ImportBytes({bytes.get(), size}, path, set, materials, TraceMode::Write);
            return;
        }
    } catch (...) {
        // Out of memory for the file itself: an empty set, like any unreadable file.
    }
    SetEmpty(set);
}

} // namespace zelvane::meshport
