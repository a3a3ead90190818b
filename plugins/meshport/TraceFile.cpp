#include "plugins/meshport/TraceFile.h"

#include "plugins/meshport/ThreeDSLayout.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace zelvane::meshport {

namespace {

std::string_view Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

std::string WithTrailingSlash(std::string_view folder)
{
    std::string result(folder);
    if (result.back() != '/')
        result += '/';
    return result;
}

} // namespace

// A plug-in links nothing of the program and its interface hands over no
// folder, so the program's rule for its log folder is followed here as well
// (a test holds the two together).
std::optional<std::string> TraceFolder()
{
    if (const std::string_view override = Env("ZELVANE_LOG_DIR"); !override.empty())
        return WithTrailingSlash(override);
    // A relative state home is invalid by the XDG convention and is skipped.
    if (const std::string_view state = Env("XDG_STATE_HOME"); !state.empty() && state.front() == '/')
        return WithTrailingSlash(state) + "zelvane/";
    if (const std::string_view home = Env("HOME"); !home.empty())
        return WithTrailingSlash(home) + ".local/state/zelvane/";
    return std::nullopt;
}

void WriteTrace(const GroupTrace& trace)
{
    const std::optional<std::string> folder = TraceFolder();
    if (!folder)
        return;
    std::error_code ignored;
    std::filesystem::create_directories(*folder, ignored);
    std::FILE* file = std::fopen((*folder + kTraceFileName).c_str(), "w");
    if (!file)
        return;
    std::fprintf(file, "NF %zu\n", trace.faceCount);
    for (const auto& [position, face] : trace.tracedFaces)
        std::fprintf(file, "%zu %u\n", position, static_cast<unsigned>(face));
    std::fclose(file);
}

} // namespace zelvane::meshport
