// Imports arbitrary bytes as a 3D Studio file through meshport's import (the
// one its zelplug_Import export runs once it has read the file; the trace
// file is left out). Besides the sanitizers it checks that the set keeps the
// plug-in contract, as the host checks it (counts not negative, arrays
// present, every face index inside its part), and meshport's own promises:
// one mapping coordinate per vertex, texture corners equal to vertex
// corners, names of at most 11 characters (or "Default name"), at most
// 65535 vertices and faces per part, no more parts than the input could
// hold chunks, and the same set from the same bytes. The second import also
// takes the materials, which must pass the host's copy and check.

#include "fuzz/FuzzSupport.h"
#include "plugins/host/MeshSetCheck.h"
#include "plugins/host/ModelMaterials.h"
#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/MeshportImport.h"

#include <cstring>
#include <span>
#include <string>

using namespace zelvane;

namespace {

void CheckPromises(const MeshSet& set, size_t inputSize)
{
    fuzz::Check(set.parts != nullptr, "no part allocation");
    fuzz::Check(set.partCount >= 0 && static_cast<size_t>(set.partCount) <= inputSize / 6,
                "more parts than the input holds chunks", std::to_string(set.partCount));
    MeshSet checked = set;
    if (const auto problem = CheckMeshSet(checked))
        fuzz::Fail("the set breaks the plug-in contract", *problem);
    for (int32_t p = 0; p < set.partCount; ++p) {
        const MeshPart& part = set.parts[p];
        const std::string where = "part " + std::to_string(p);
        fuzz::Check(part.texCoordCount == part.vertexCount, "mapping count differs from vertex count", where);
        fuzz::Check(part.vertexCount <= 0xFFFF && part.faceCount <= 0xFFFF, "more than a u16 count", where);
        const size_t length = std::strlen(part.name);
        fuzz::Check(length > 0 && (length <= 11 || std::strcmp(part.name, "Default name") == 0), "bad part name",
                    where);
        for (int32_t f = 0; f < part.faceCount; ++f)
            fuzz::Check(std::memcmp(part.faces[f].vertex, part.faces[f].texCoord, sizeof part.faces[f].vertex) == 0,
                        "texture corners differ from vertex corners", where);
    }
}

bool SameSet(const MeshSet& a, const MeshSet& b)
{
    if (a.partCount != b.partCount)
        return false;
    for (int32_t p = 0; p < a.partCount; ++p) {
        const MeshPart& x = a.parts[p];
        const MeshPart& y = b.parts[p];
        if (std::strcmp(x.name, y.name) != 0 || x.faceCount != y.faceCount || x.vertexCount != y.vertexCount ||
            std::memcmp(x.faces, y.faces, sizeof(MeshFace) * static_cast<size_t>(x.faceCount)) != 0 ||
            std::memcmp(x.vertices, y.vertices, sizeof(MeshVertex) * static_cast<size_t>(x.vertexCount)) != 0 ||
            std::memcmp(x.texCoords, y.texCoords, sizeof(MeshTexCoord) * static_cast<size_t>(x.texCoordCount)) != 0)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    MeshSet first{};
    meshport::ImportBytes(bytes, first, meshport::TraceMode::Skip);
    CheckPromises(first, size);
    MeshSet second{};
    MeshMaterials records{ZELPLUG_MATERIALS_VERSION, 0, nullptr, 0, nullptr};
    // A folder that is not there: texture names are resolved without finding anything.
    meshport::ImportBytes(bytes, "/nonexistent-zelvane-fuzz/model.3ds", second, &records, meshport::TraceMode::Skip);
    fuzz::Check(SameSet(first, second), "the same bytes gave another set");
    ModelMaterials materials;
    if (const auto problem = CopyMaterialRecords(records, second, materials))
        fuzz::Fail("the materials break the plug-in contract", *problem);
    if (const auto problem = CheckModelMaterials(materials, second))
        fuzz::Fail("the materials break the plug-in contract", *problem);
    meshport::ReleaseMaterials(records);
    meshport::ReleaseMeshSet(first);
    meshport::ReleaseMeshSet(second);
    return 0;
}
