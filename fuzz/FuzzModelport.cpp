#include "fuzz/FuzzModelport.h"

#include "fuzz/FuzzSupport.h"
#include "plugins/host/MeshSetCheck.h"
#include "plugins/host/ModelMaterials.h"
#include "plugins/modelport/HandOver.h"

#include <cmath>
#include <cstring>
#include <string>

namespace zelvane::fuzz {

namespace {

struct Records {
    MeshSet set{"fuzz", 0, nullptr, 0, 0, 0};
    MeshMaterials materials{ZELPLUG_MATERIALS_VERSION, 0, nullptr, 0, nullptr};
    MeshModelInfo info{ZELPLUG_MODEL_INFO_VERSION, 0, ZELPLUG_UP_UNKNOWN, nullptr};

    ~Records()
    {
        modelport::ReleaseMeshSet(set);
        modelport::ReleaseMaterials(materials);
        modelport::ReleaseInfo(info);
    }
};

void Import(std::span<const uint8_t> bytes, modelport::ModelFormat format, Records& records)
{
    modelport::Model model = modelport::ReadModel(bytes, format, {});
    const bool refused = model.refused;
    modelport::HandOver(model, records.set, &records.materials, &records.info);
    Check(records.set.parts != nullptr, "no part allocation");
    Check(!refused || (records.set.partCount == 0 && records.info.notes), "a refused model without its reason");
    if (records.info.notes)
        Check(std::strlen(records.info.notes) <= ZELPLUG_MAX_NOTES, "notes past their limit");
    MeshSet checked = records.set;
    if (const auto problem = CheckMeshSet(checked))
        Fail("the set breaks the plug-in contract", *problem);
    ModelMaterials materials;
    if (const auto problem = CopyMaterialRecords(records.materials, records.set, materials))
        Fail("the materials break the plug-in contract", *problem);
    if (const auto problem = CheckModelMaterials(materials, records.set))
        Fail("the materials break the plug-in contract", *problem);
    for (int32_t p = 0; p < records.set.partCount; ++p) {
        const MeshPart& part = records.set.parts[p];
        for (int32_t v = 0; v < part.vertexCount; ++v)
            Check(std::isfinite(part.vertices[v].x) && std::isfinite(part.vertices[v].y) &&
                      std::isfinite(part.vertices[v].z),
                  "a vertex that is no finite number", part.name);
    }
}

} // namespace

int64_t CheckModelportImport(std::span<const uint8_t> bytes, modelport::ModelFormat format)
{
    Records first, second;
    Import(bytes, format, first);
    Import(bytes, format, second);
    Check(first.set.partCount == second.set.partCount, "the same bytes gave another set");
    int64_t faces = 0;
    for (int32_t p = 0; p < first.set.partCount; ++p) {
        const MeshPart& a = first.set.parts[p];
        const MeshPart& b = second.set.parts[p];
        Check(a.faceCount == b.faceCount && a.vertexCount == b.vertexCount &&
                  std::memcmp(a.faces, b.faces, sizeof(MeshFace) * static_cast<size_t>(a.faceCount)) == 0,
              "the same bytes gave another set", a.name);
        faces += a.faceCount;
    }
    return faces;
}

} // namespace zelvane::fuzz
