#include "document/CachedTextures.h"

#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zelvane {

std::vector<std::string> CachedTexturesOf(const COGLScene& scene, const std::string& cacheFolder)
{
    std::vector<std::string> found;
    if (cacheFolder.empty())
        return found;
    const auto consider = [&](const std::string& path) {
        if (path.size() > cacheFolder.size() && path.compare(0, cacheFolder.size(), cacheFolder) == 0 &&
            std::find(found.begin(), found.end(), path) == found.end())
            found.push_back(path);
    };
    for (const auto& object : scene.Objects()) {
        const auto* mesh = dynamic_cast<const COGLMesh*>(object.get());
        if (!mesh)
            continue;
        for (const ModelMaterial& material : mesh->Materials().materials)
            consider(material.texturePath);
        for (const std::vector<std::string>& paths : mesh->GroupTexturePaths())
            for (const std::string& path : paths)
                consider(path);
    }
    return found;
}

Status CopyCachedTextures(const COGLScene& scene, const std::string& scenePath, const std::string& cacheFolder)
{
    Status status = Status::Ok();
    const fs::path folder = fs::absolute(fs::path(scenePath)).parent_path();
    for (const std::string& texture : CachedTexturesOf(scene, cacheFolder)) {
        std::error_code ec;
        const fs::path target = folder / fs::path(texture).filename();
        // Cached pictures are named by their content: one there already is this one.
        if (fs::exists(target, ec) && fs::file_size(target, ec) == fs::file_size(texture, ec) && !ec)
            continue;
        if (!fs::exists(texture, ec)) {
            status.Warn("The picture " + texture + " that a mesh of the scene uses is no longer in the cache folder; "
                        "the scene names it all the same.");
            continue;
        }
        fs::copy_file(texture, target, fs::copy_options::overwrite_existing, ec);
        if (ec)
            status.Warn("The picture " + texture + " could not be copied beside the scene file (" + ec.message() +
                        "); the scene names it in the cache folder.");
    }
    return status;
}

} // namespace zelvane
