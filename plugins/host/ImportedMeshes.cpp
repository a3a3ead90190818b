#include "plugins/host/ImportedMeshes.h"

#include <memory>
#include <string>
#include <vector>

namespace zelvane {

namespace {

struct Store {
    std::vector<MeshSet> sets;
    std::vector<MeshMaterials> materials;
    std::vector<std::unique_ptr<char[]>> names;
    std::vector<const char*> notes;
};

// Never destroyed: the meshes outlive every object that refers to them.
Store& TheStore()
{
    static Store* store = new Store;
    return *store;
}

} // namespace

void ImportedMeshes::Keep(const MeshSet& set)
{
    TheStore().sets.push_back(set);
}

void ImportedMeshes::Keep(const MeshMaterials& materials)
{
    if (materials.materials || materials.parts)
        TheStore().materials.push_back(materials);
}

void ImportedMeshes::KeepNotes(const char* notes)
{
    if (notes)
        TheStore().notes.push_back(notes);
}

const char* ImportedMeshes::KeepName(std::string_view name)
{
    auto copy = std::make_unique<char[]>(name.size() + 1);
    name.copy(copy.get(), name.size());
    return TheStore().names.emplace_back(std::move(copy)).get();
}

size_t ImportedMeshes::Count()
{
    return TheStore().sets.size();
}

} // namespace zelvane
