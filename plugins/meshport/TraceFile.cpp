#include "plugins/meshport/TraceFile.h"

#include "plugins/meshport/ThreeDSLayout.h"

#include <cstdio>

namespace zelvane::meshport {

void WriteTrace(const GroupTrace& trace)
{
    std::FILE* file = std::fopen(kTraceFileName, "w");
    if (!file)
        return;
    std::fprintf(file, "NF %zu\n", trace.faceCount);
    for (const auto& [position, face] : trace.tracedFaces)
        std::fprintf(file, "%zu %u\n", position, static_cast<unsigned>(face));
    std::fclose(file);
}

} // namespace zelvane::meshport
