#include "report/ProgramFolders.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zelvane {

namespace {

std::string WithSlash(const fs::path& folder)
{
    std::string text = folder.lexically_normal().string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

} // namespace

std::string ExecutableFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

const std::string& StartFolder()
{
    static const std::string folder = [] {
        std::error_code ec;
        const fs::path current = fs::current_path(ec);
        return ec ? std::string("./") : WithSlash(current);
    }();
    return folder;
}

std::vector<std::string> ProgramFolderCandidates(std::string_view name)
{
    std::vector<std::string> candidates{WithSlash(fs::path(StartFolder()) / name)};
    if (const std::string exe = ExecutableFolder(); !exe.empty()) {
        const fs::path here = exe;
        for (const fs::path& candidate : {here / name, here / "../share/zelvane" / name, here / "../lib/zelvane" / name})
            if (const std::string text = WithSlash(candidate);
                std::find(candidates.begin(), candidates.end(), text) == candidates.end())
                candidates.push_back(text);
    }
    return candidates;
}

std::optional<std::string> FindProgramFolder(std::string_view name)
{
    for (const std::string& candidate : ProgramFolderCandidates(name)) {
        std::error_code ec;
        if (fs::is_directory(candidate, ec))
            return candidate;
    }
    return std::nullopt;
}

} // namespace zelvane
