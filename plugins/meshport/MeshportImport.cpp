#include "plugins/meshport/MeshportImport.h"

#include "plugins/kit/WholeFile.h"
#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/ThreeDSReader.h"
#include "plugins/meshport/TraceFile.h"

#include <memory>

namespace zelvane::meshport {

void ImportBytes(std::span<const uint8_t> bytes, MeshSet& set, TraceMode trace) noexcept
{
    ImportBytes(bytes, "", set, nullptr, trace);
}

void ImportBytes(std::span<const uint8_t> bytes, const char* modelPath, MeshSet& set, MeshMaterials* materials,
                 TraceMode trace) noexcept
{
    ThreeDSModel model;
    try {
        model = ReadThreeDS(bytes);
        if (trace == TraceMode::Write && model.trace)
            WriteTrace(*model.trace);
        HandOverMeshes(model, set);
    } catch (...) {
        SetEmpty(set);
        return;
    }
    // Never throws: without memory the mesh comes without materials.
    if (materials)
        HandOverMaterials(model, modelPath ? modelPath : "", *materials);
}

void ImportFile(const char* path, MeshSet& set, MeshMaterials* materials) noexcept
{
    try {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
        if (path && pluginkit::ReadWholeFile(path, bytes, size)) {
            ImportBytes({bytes.get(), size}, path, set, materials, TraceMode::Write);
            return;
        }
    } catch (...) {
        // Out of memory for the file itself: an empty set, like any unreadable file.
    }
    SetEmpty(set);
}

} // namespace zelvane::meshport
