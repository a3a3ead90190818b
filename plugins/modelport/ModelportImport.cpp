#include "plugins/modelport/ModelportImport.h"

#include "plugins/kit/UserFolder.h"
#include "plugins/kit/WholeFile.h"
#include "plugins/modelport/GltfReader.h"
#include "plugins/modelport/HandOver.h"
#include "plugins/modelport/ObjReader.h"

#include <memory>

namespace zelvane::modelport {

namespace {

// Far beyond any model zelvane can draw; keeps a mistaken pick of a disk
// image from filling the memory.
constexpr size_t kMaxModelFileBytes = size_t{1} << 32;

} // namespace

ModelFormat FormatOf(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    std::string extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension == "obj" ? ModelFormat::Obj : ModelFormat::Gltf;
}

Model ReadModel(std::span<const uint8_t> bytes, ModelFormat format, const ImportSettings& settings) noexcept
{
    try {
        if (format == ModelFormat::Obj)
            return ReadObj(bytes, ObjOptions{settings.modelPath});
        return ReadGltf(bytes, GltfOptions{settings.modelPath, settings.cacheFolder});
    } catch (...) {
        Model model;
        model.Refuse("The model is too large for the memory there is.");
        return model;
    }
}

void ImportFile(const char* path, MeshSet& set, MeshMaterials* materials, MeshModelInfo* info) noexcept
{
    Model model;
    try {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
        if (!path || !pluginkit::ReadWholeFile(path, bytes, size, kMaxModelFileBytes)) {
            model.Refuse("The file cannot be read.");
        } else {
            ImportSettings settings;
            settings.modelPath = path;
            settings.cacheFolder = pluginkit::CacheFolder().value_or("");
            model = ReadModel({bytes.get(), size}, FormatOf(path), settings);
        }
    } catch (...) {
        model = Model{};
        model.Refuse("The file is too large for the memory there is.");
    }
    HandOver(model, set, materials, info);
}

} // namespace zelvane::modelport
