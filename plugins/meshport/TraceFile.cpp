#include "plugins/meshport/TraceFile.h"

#include "plugins/kit/UserFolder.h"
#include "plugins/meshport/ThreeDSLayout.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace zelvane::meshport {

// The program's rule for its log folder, followed here as well (a test holds
// the two together).
std::optional<std::string> TraceFolder()
{
    if (const char* override = std::getenv("ZELVANE_LOG_DIR"); override && *override) {
        std::string folder(override);
        if (folder.back() != '/')
            folder += '/';
        return folder;
    }
    return pluginkit::UserFolder("XDG_STATE_HOME", ".local/state/");
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
