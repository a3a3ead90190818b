#include "plugins/kit/WholeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvane::pluginkit {

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

} // namespace

bool ReadWholeFile(const char* path, std::unique_ptr<uint8_t[]>& bytes, size_t& size, size_t maxSize)
{
    const FileDescriptor file(::open(path, O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<uint64_t>(info.st_size) > maxSize)
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

} // namespace zelvane::pluginkit
