#include "resfile/FsOpenFile.h"

#include "resfile/FileFaults.h"
#include "resfile/FileLayerStats.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvane {

FsOpenFile::FsOpenFile(PlainFile, std::string path, int fd, bool writable)
    : path_(std::move(path)), fd_(fd), writable_(writable)
{
    struct stat st {};
    if (::fstat(fd_, &st) == 0)
        length_ = static_cast<uint64_t>(st.st_size);
}

ArchiveDescriptor::~ArchiveDescriptor()
{
    if (fd >= 0)
        ::close(fd);
}

FsOpenFile::FsOpenFile(ArchiveEntry, std::string path, std::shared_ptr<ArchiveDescriptor> archive, uint64_t offset,
                       uint32_t length)
    : path_(std::move(path)), fd_(archive->fd), offset_(offset), length_(length), shared_(true),
      archive_(std::move(archive))
{
}

FsOpenFile::~FsOpenFile()
{
    if (!shared_ && fd_ >= 0)
        ::close(fd_);
}

int32_t FsOpenFile::Length(uint64_t& length) const
{
    length = length_;
    return kResOk;
}

int32_t FsOpenFile::Read(void* buffer, uint32_t count)
{
    const uint64_t available = position_ < length_ ? length_ - position_ : 0;
    const uint32_t wanted = available < count ? static_cast<uint32_t>(available) : count;

    std::unique_lock<std::mutex> guard;
    if (shared_)
        guard = std::unique_lock<std::mutex>(archive_->lock);
    uint32_t done = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (done < wanted) {
        const ssize_t got = ::pread(fd_, out + done, wanted - done, static_cast<off_t>(offset_ + position_ + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<uint32_t>(got);
    }
    position_ += done;
    return done == count ? kResOk : kErrShortRead;
}

int32_t FsOpenFile::Write(const void* buffer, uint32_t count)
{
    if (shared_ || !writable_)
        return kErrShortWrite;
    if (FileFaults::ShouldFail(FileFaults::Operation::Write))
        return kErrShortWrite;
    uint32_t done = 0;
    const auto* in = static_cast<const uint8_t*>(buffer);
    while (done < count) {
        const ssize_t put = ::pwrite(fd_, in + done, count - done, static_cast<off_t>(position_ + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        done += static_cast<uint32_t>(put);
    }
    position_ += done;
    length_ = std::max(length_, position_);
    FileLayerStats::CountWrite(done);
    return done == count ? kResOk : kErrShortWrite;
}

int32_t FsOpenFile::Seek(uint64_t position)
{
    if (position > length_)
        return kErrShortRead;
    position_ = position;
    return kResOk;
}

int32_t FsOpenFile::Truncate(uint64_t length)
{
    if (shared_ || !writable_)
        return kErrCannotOpen;
    if (FileFaults::ShouldFail(FileFaults::Operation::Truncate))
        return kErrCannotOpen;
    if (::ftruncate(fd_, static_cast<off_t>(length)) != 0)
        return kErrCannotOpen;
    length_ = length;
    return kResOk;
}

int32_t FsOpenFile::Flush()
{
    if (shared_ || !writable_)
        return kResOk;
    if (FileFaults::ShouldFail(FileFaults::Operation::Flush))
        return kErrCannotOpen;
    if (deferSync_) {
        unsynced_ = true;
        return kResOk;
    }
    return ::fdatasync(fd_) == 0 ? kResOk : kErrCannotOpen;
}

int32_t FsOpenFile::SyncNow()
{
    if (shared_ || !writable_)
        return kResOk;
    unsynced_ = false;
    return ::fdatasync(fd_) == 0 ? kResOk : kErrCannotOpen;
}

} // namespace zelvane
