#include "resfile/FileReplacement.h"

#include "resfile/CTGFile.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/PathUtil.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

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

std::string CreateFailureText(std::string_view path, int32_t code)
{
    const std::string folder = SplitPath(path).folder;
    const std::string where = folder.empty() ? "." : folder;
    std::error_code ec;
    if (!std::filesystem::is_directory(where, ec))
        return "the folder \"" + where + "\" does not exist";
    if (::access(where.c_str(), W_OK) != 0)
        return "the folder \"" + where + "\" is not writable";
    return std::string("the file cannot be created (") + ResErrorText(code) + ")";
}

int32_t FileReplacement::WriteStaging(std::span<const uint8_t> bytes)
{
    CTGFile file;
    int32_t code = file.Create(staging_);
    if (code == kResOk)
        code = file.Open(staging_);
    if (code == kResOk && !file.IsWritable())
        code = kErrCannotCreate;
    if (code != kResOk)
        return code;
    // The file layer writes at most 4 GiB at a time.
    constexpr size_t kBlock = size_t{1} << 30;
    for (size_t at = 0; at < bytes.size() && code == kResOk; at += kBlock)
        code = file.Write(bytes.data() + at, static_cast<uint32_t>(std::min(kBlock, bytes.size() - at)));
    file.Close();
    return code;
}

SafeWrite WriteFileSafely(std::string_view target, std::span<const uint8_t> bytes, std::string& error)
{
    FileReplacement replacement(target);
    int32_t code = replacement.WriteStaging(bytes);
    if (code == kErrCannotCreate || code == kErrCreateExists || code == kErrCannotOpen) {
        error = CreateFailureText(replacement.TargetPath(), code);
        return SafeWrite::NotCreated;
    }
    if (code != kResOk) {
        error = std::string("the file could not be written (") + ResErrorText(code) + "; is the disk full?)";
        return SafeWrite::NotWritten;
    }
    if (code = replacement.Commit(); code != kResOk) {
        error = std::string("the new file could not be put in place (") + ResErrorText(code) + ")";
        return SafeWrite::NotWritten;
    }
    return SafeWrite::Written;
}

bool ReplaceWithCopy(std::string_view source, std::string_view target, std::string& error)
{
    FileReplacement replacement(target);
    std::error_code ec;
    std::filesystem::copy_file(std::filesystem::path(source), replacement.StagingPath(),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
        error = "could not copy \"" + std::string(source) + "\" to \"" + replacement.TargetPath() + "\": " + ec.message();
        return false;
    }
    if (const int32_t code = replacement.Commit(); code != kResOk) {
        error = "could not put the copy of \"" + std::string(source) + "\" in place as \"" + replacement.TargetPath() +
                "\": " + ResErrorText(code);
        return false;
    }
    return true;
}

void FileReplacement::Abandon()
{
    done_ = true;
    // Gone already (or never written) is what we want.
    static_cast<void>(fileSystem_.Remove(staging_));
}

} // namespace zelvane
