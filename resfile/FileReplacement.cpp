#include "resfile/FileReplacement.h"

#include "resfile/CTGFileSystem.h"
#include "resfile/PathUtil.h"
#include "resfile/ResErrors.h"

#include <fcntl.h>
#include <unistd.h>

namespace zelvane {

namespace {

std::string StagingPathFor(const std::string& target)
{
    const PathParts parts = SplitPath(target);
    return parts.folder + "." + parts.base + ".new" + parts.extension;
}

// fsync on a descriptor of its own: whoever wrote the file has closed it.
bool SyncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

FileReplacement::FileReplacement(std::string_view target) : FileReplacement(target, CTGFileSystem::Instance()) {}

FileReplacement::FileReplacement(std::string_view target, CTGFileSystem& fileSystem)
    : fileSystem_(fileSystem), target_(fileSystem.RealPath(target)), staging_(StagingPathFor(target_))
{
    // A leftover of an earlier crash; nothing to say when there is none.
    static_cast<void>(fileSystem_.Remove(staging_));
}

FileReplacement::~FileReplacement()
{
    if (!done_)
        Abandon();
}

int32_t FileReplacement::Commit()
{
    if (done_)
        return kErrShortRead;
    if (::access(staging_.c_str(), F_OK) != 0) {
        done_ = true;
        return kErrShortRead;
    }
    if (!SyncFile(staging_)) {
        Abandon();
        return kErrShortWrite;
    }
    if (const int32_t error = fileSystem_.Replace(staging_, target_); error != kResOk) {
        Abandon();
        return error;
    }
    done_ = true;
    return kResOk;
}

void FileReplacement::Abandon()
{
    done_ = true;
    // Gone already (or never written) is what we want.
    static_cast<void>(fileSystem_.Remove(staging_));
}

} // namespace zelvane
