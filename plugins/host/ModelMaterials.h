#pragma once
// The materials of an imported mesh as the editor keeps them: copied out of
// a plug-in's MeshMaterials records once they are checked, and read from and
// written to scene files. One table of materials; for each part of the mesh
// set (or for none), its face groups.

#include "plugins/interface/MeshMaterials.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvane {

struct ModelMaterial {
    std::string name;
    std::array<float, 3> ambient{0.2f, 0.2f, 0.2f};
    std::array<float, 3> diffuse{0.8f, 0.8f, 0.8f};
    std::array<float, 3> specular{0.0f, 0.0f, 0.0f};
    float shininess = 0.0f;
    float opacity = 1.0f;
    bool twoSided = false;
    std::string texturePath; // absolute; empty for none

    bool operator==(const ModelMaterial&) const = default;
};

struct ModelFaceGroup {
    std::int32_t material = 0;        // index into ModelMaterials::materials
    std::vector<std::int32_t> faces;  // positions in the part's faces

    bool operator==(const ModelFaceGroup&) const = default;
};

struct ModelMaterials {
    std::vector<ModelMaterial> materials;
    // Empty, or one list of groups per part of the set.
    std::vector<std::vector<ModelFaceGroup>> partGroups;

    bool Empty() const { return materials.empty() && partGroups.empty(); }
    bool operator==(const ModelMaterials&) const = default;
};

// Copies a plug-in's records into `out`, checking on the way what must hold
// before anything can be read through them: counts not negative, arrays
// present, a part count of 0 or the set's, names and paths of at most their
// lengths. The first problem in words for the user ("part 2 (\"Box\"),
// group 3 has a negative face count"), with `out` then cleared; nothing when
// everything was copied. `set` is a checked set (CheckMeshSet).
std::optional<std::string> CopyMaterialRecords(const MeshMaterials& records, const MeshSet& set, ModelMaterials& out);

// Whether `materials` may be drawn with `set`: every group's material and
// faces inside their arrays, no face of a part in two groups, colours and
// opacity finite and in [0, 1], shininess in [0, 128], texture paths empty
// or absolute and not longer than ZELPLUG_MAX_TEXTURE_PATH, names not
// longer than ZELPLUG_MAX_MATERIAL_NAME, a group list for every part or for
// none. The first problem in words, naming the part and group or material.
std::optional<std::string> CheckModelMaterials(const ModelMaterials& materials, const MeshSet& set);

} // namespace zelvane
