#include "tests/plugins/ModelportTestSupport.h"

#include "plugins/host/MeshSetCheck.h"
#include "plugins/host/ModelUnits.h"
#include "plugins/modelport/HandOver.h"

namespace zelvane::test {

ModelportImport::~ModelportImport()
{
    modelport::ReleaseMeshSet(set);
    modelport::ReleaseMaterials(records);
    modelport::ReleaseInfo(info);
}

int64_t ModelportImport::Faces() const
{
    int64_t faces = 0;
    for (int32_t p = 0; p < set.partCount; ++p)
        faces += set.parts[p].faceCount;
    return faces;
}

bool ModelportImport::Noted(const std::string& fragment) const
{
    for (const std::string& note : notes)
        if (note.find(fragment) != std::string::npos)
            return true;
    return false;
}

std::unique_ptr<ModelportImport> ImportModelBytes(const std::vector<uint8_t>& bytes, modelport::ModelFormat format,
                                                  const std::string& path, const std::string& cacheFolder)
{
    auto imported = std::make_unique<ModelportImport>();
    modelport::Model model = modelport::ReadModel(bytes, format, {path, cacheFolder});
    modelport::HandOver(model, imported->set, &imported->records, &imported->info);
    imported->notes = NotesOf(imported->info);
    if (const std::optional<std::string> problem = CheckMeshSet(imported->set)) {
        imported->problem = *problem;
        return imported;
    }
    std::optional<std::string> problem = CopyMaterialRecords(imported->records, imported->set, imported->materials);
    if (!problem)
        problem = CheckModelMaterials(imported->materials, imported->set);
    imported->problem = problem.value_or("");
    return imported;
}

std::unique_ptr<ModelportImport> ImportModelText(const std::string& text, modelport::ModelFormat format,
                                                 const std::string& path)
{
    return ImportModelBytes({text.begin(), text.end()}, format, path);
}

} // namespace zelvane::test
