#include "document/MeshImport.h"

#include "plugins/host/CPluginManager.h"
#include "scene/COGLMesh.h"

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

Result<std::unique_ptr<COGLMesh>> ImportMesh(CPluginManager& plugins, const CPlugin& plugin, const std::string& path)
{
    Result<MeshSet> set = plugins.Import(plugin, path);
    if (!set)
        return set.GetStatus();
    if (!HasFaces(*set))
        return Result<std::unique_ptr<COGLMesh>>::Failure(path + ": no meshes found");
    return std::make_unique<COGLMesh>(*set);
}

} // namespace zelvane
