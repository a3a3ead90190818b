#pragma once
// modelport's import of bytes in this process, with the records it hands
// over checked as the host checks them and freed afterwards.

#include "plugins/host/ModelMaterials.h"
#include "plugins/modelport/ModelportImport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelvane::test {

struct ModelportImport {
    MeshSet set{"test", 0, nullptr, 0, 0, 0};
    MeshMaterials records{ZELPLUG_MATERIALS_VERSION, 0, nullptr, 0, nullptr};
    MeshModelInfo info{ZELPLUG_MODEL_INFO_VERSION, 0.0f, ZELPLUG_UP_UNKNOWN, nullptr};
    ModelMaterials materials; // the records as the host copies them
    std::vector<std::string> notes;
    // Why the host would refuse the set or the materials; empty when it takes both.
    std::string problem;

    ModelportImport() = default;
    ModelportImport(const ModelportImport&) = delete;
    ModelportImport& operator=(const ModelportImport&) = delete;
    ~ModelportImport();

    const MeshPart& Part(int32_t index) const { return set.parts[index]; }
    int64_t Faces() const;
    bool Noted(const std::string& fragment) const;
};

// Reads `bytes` as `format` (the file at `path` when given, pictures into
// `cacheFolder`) and hands the model over as the exports do.
std::unique_ptr<ModelportImport> ImportModelBytes(const std::vector<uint8_t>& bytes, modelport::ModelFormat format,
                                                  const std::string& path = {}, const std::string& cacheFolder = {});
std::unique_ptr<ModelportImport> ImportModelText(const std::string& text, modelport::ModelFormat format,
                                                 const std::string& path = {});

} // namespace zelvane::test
