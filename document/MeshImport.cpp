#include "document/MeshImport.h"

#include "plugins/host/CPluginManager.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"

#include <filesystem>

namespace zelvane {

std::unique_ptr<COGLMesh> ImportMesh(CPluginManager& plugins, const CPlugin& plugin, const std::string& path)
{
    std::optional<ImportedModel> model = plugins.ImportModel(plugin, path);
    if (!model)
        return nullptr;
    auto mesh = std::make_unique<COGLMesh>(model->set, std::move(model->materials));
    mesh->ReportMissingTextures(std::filesystem::path(path).filename().string());
    return mesh;
}

COGLMesh* ImportIntoScene(CPluginManager& plugins, const CPlugin& plugin, const std::string& path, COGLScene& scene)
{
    std::unique_ptr<COGLMesh> mesh = ImportMesh(plugins, plugin, path);
    if (!mesh)
        return nullptr;
    COGLMesh* added = mesh.get();
    scene.AddObject(std::move(mesh));
    return added;
}

COGLMesh* RunImport(CPluginManager& plugins, std::uint32_t commandId, const std::string& path, COGLScene& scene)
{
    const CPlugin* plugin = plugins.FindByCommand(commandId);
    return plugin ? ImportIntoScene(plugins, *plugin, path, scene) : nullptr;
}

} // namespace zelvane
