#pragma once
// modelport's import behind its exports: from a file, or from bytes already
// in memory (what the fuzz targets and tests drive).

#include "plugins/interface/MeshMaterials.h"
#include "plugins/interface/MeshModelInfo.h"
#include "plugins/interface/MeshSet.h"
#include "plugins/modelport/ModelData.h"

#include <cstdint>
#include <span>
#include <string>

namespace zelvane::modelport {

enum class ModelFormat { Gltf, Obj };

// The format of the file at `path` by its extension (".obj" in any case is
// OBJ; everything else is taken as glTF, binary or JSON by its first bytes).
ModelFormat FormatOf(const std::string& path);

struct ImportSettings {
    // Where the file lay (buffers, libraries and pictures beside it are read
    // from there); empty for bytes from nowhere.
    std::string modelPath;
    // Where pictures inside the file are written; empty: left out.
    std::string cacheFolder;
};

// The model in `bytes`, read as `format`. Never throws: memory running out
// gives a refused model.
Model ReadModel(std::span<const uint8_t> bytes, ModelFormat format, const ImportSettings& settings) noexcept;

// What zelplug_ImportModel does: the file at `path` read and handed over
// into the records (any of materials and info may be null). A file that
// cannot be read leaves the set empty with a note saying so.
void ImportFile(const char* path, MeshSet& set, MeshMaterials* materials, MeshModelInfo* info) noexcept;

} // namespace zelvane::modelport
