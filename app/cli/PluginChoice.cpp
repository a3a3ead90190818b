#include "app/cli/PluginChoice.h"

#include "app/cli/CliOutput.h"
#include "report/ProgramFolders.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvane::cli {

namespace {

std::string WhereLooked()
{
    std::string folders;
    for (const std::string& candidate : ProgramFolderCandidates("Plugins"))
        folders += (folders.empty() ? "" : ", ") + candidate;
    return folders;
}

} // namespace

void LoadPlugins(CPluginManager& manager)
{
    // Every library passed over is listed below, those the editor would warn about included.
    static_cast<void>(manager.ScanPlugins());
    for (const SkippedLibrary& skipped : manager.Skipped())
        Warn(skipped.path, "not loaded: " + skipped.reason);
}

const CPlugin* ChoosePlugin(const CPluginManager& manager, const std::string& file, const std::string& name,
                            std::string& subject, std::string& error)
{
    subject = file;
    if (manager.Plugins().empty()) {
        error = "no import plug-ins found (looked in " + WhereLooked() + ")";
        return nullptr;
    }
    if (!name.empty()) {
        const CPlugin* plugin = manager.FindByName(name);
        if (!plugin) {
            subject = name;
            error = "no such plug-in (see zelvane-cli plugins)";
        }
        return plugin;
    }
    const CPlugin* plugin = manager.FindForFile(file);
    if (!plugin)
        error = "no plug-in reads this kind of file; name one with --plugin";
    return plugin;
}

std::optional<std::string> UnreadableReason(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::string("cannot open: ") + std::strerror(errno);
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::string("cannot open: ") + std::strerror(errno);
    ::close(fd);
    return std::nullopt;
}

} // namespace zelvane::cli
