#include "document/MeshImport.h"

#include "plugins/host/CPluginManager.h"
#include "scene/COGLMesh.h"

#include <filesystem>

namespace zelvane {

namespace {

bool HasFaces(const MeshSet& set)
{
    for (int32_t i = 0; i < set.partCount; ++i)
        if (set.parts[i].faceCount > 0)
            return true;
    return false;
}

} // namespace

std::string NothingImportedText(const ImportedModel& model)
{
    if (model.notes.empty())
        return "no meshes found";
    std::string text;
    for (const std::string& note : model.notes)
        text += (text.empty() ? "" : "\n") + note;
    return text;
}

std::string ModelPathToRemember(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

Result<std::unique_ptr<COGLMesh>> ImportMesh(CPluginManager& plugins, const CPlugin& plugin, const std::string& path)
{
    Result<ImportedModel> model = plugins.ImportModel(plugin, path);
    if (!model)
        return model.GetStatus();
    if (!HasFaces(model->set))
        return Result<std::unique_ptr<COGLMesh>>::Failure(path + ": " + NothingImportedText(*model));
    Result<std::unique_ptr<COGLMesh>> mesh(
        std::make_unique<COGLMesh>(model->set, std::move(model->materials), model->units));
    (*mesh)->SetModelPath(ModelPathToRemember(path));
    for (const std::string& warning : model.Warnings())
        mesh.Warn(warning);
    if (const std::string missing = (*mesh)->MissingTexturesText(std::filesystem::path(path).filename().string());
        !missing.empty())
        mesh.Warn(missing);
    return mesh;
}

} // namespace zelvane
