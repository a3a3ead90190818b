#include "scene/CFileLocator.h"

#include "report/OpenFileDialog.h"
#include "resfile/PathUtil.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvane {

namespace {

// The first name (in sorted order) in `folder` that equals `name` without
// regard to ASCII case: scene files made on Windows spell names as they like.
std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name)
{
    const std::string wanted = AsciiLower(name);
    std::optional<std::string> best;
    std::error_code ec;
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
    for (std::filesystem::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string found = it->path().filename().string();
        if (AsciiLower(found) != wanted || (best && found >= *best))
            continue;
        if (IsReadableFile(folder + found))
            best = found;
    }
    if (!best)
        return std::nullopt;
    return folder + *best;
}

} // namespace

bool IsReadableFile(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

void CFileLocator::SetFolder(std::string_view sceneFilePath)
{
    folder_ = SplitPath(sceneFilePath).folder;
}

bool FindInFolder(std::string& path, const std::string& folder)
{
    if (IsReadableFile(path))
        return true;

    const PathParts parts = SplitPath(path);
    const std::string name = parts.base + parts.extension;
    const std::string candidate = folder + name;
    if (IsReadableFile(candidate)) {
        path = candidate;
        return true;
    }
    if (!name.empty())
        if (const std::optional<std::string> found = FindIgnoringCase(folder, name)) {
            path = *found;
            return true;
        }
    return false;
}

bool CFileLocator::Locate(std::string& path)
{
    if (FindInFolder(path, folder_))
        return true;

    if (std::optional<std::string> chosen =
            CurrentOpenFileDialog().AskForFileToOpen({kLocateTextureTitle, kLocateTextureFilter, path, folder_})) {
        path = std::move(*chosen);
        return true;
    }
    notFound_.push_back(path);
    return false;
}

} // namespace zelvane
