#include "plugins/kit/HandedRecords.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace zelvane::pluginkit {

char* CopyText(const std::string& text)
{
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy)
        throw std::bad_alloc();
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

void FreePart(MeshPart& part)
{
    std::free(const_cast<char*>(part.name));
    std::free(part.faces);
    std::free(part.vertices);
    std::free(part.texCoords);
    part = MeshPart{};
}

void SetEmpty(MeshSet& set) noexcept
{
    set.partCount = 0;
    // A failed allocation leaves a null pointer, which a count of 0 allows.
    set.parts = static_cast<MeshPart*>(std::malloc(sizeof(MeshPart)));
}

void ReleaseMeshSet(MeshSet& set)
{
    for (int32_t i = 0; i < set.partCount; ++i)
        FreePart(set.parts[i]);
    std::free(set.parts);
    set.partCount = 0;
    set.parts = nullptr;
}

void ReleaseMaterials(MeshMaterials& materials)
{
    for (int32_t m = 0; m < materials.materialCount; ++m) {
        std::free(const_cast<char*>(materials.materials[m].name));
        std::free(const_cast<char*>(materials.materials[m].texturePath));
    }
    for (int32_t p = 0; p < materials.partCount; ++p) {
        for (int32_t g = 0; g < materials.parts[p].groupCount; ++g)
            std::free(materials.parts[p].groups[g].faces);
        std::free(materials.parts[p].groups);
    }
    std::free(materials.materials);
    std::free(materials.parts);
    materials.materialCount = 0;
    materials.materials = nullptr;
    materials.partCount = 0;
    materials.parts = nullptr;
}

} // namespace zelvane::pluginkit
