#include "plugins/modelport/HandOver.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace zelvane::modelport {

namespace {

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

// Every part's name is made first, so that a failure leaves the model's
// arrays where they were.
MeshPart* BuildParts(Model& model)
{
    MallocArray<MeshPart> parts(model.parts.size());
    size_t named = 0;
    try {
        for (; named < model.parts.size(); ++named)
            parts[named].name = CopyText(model.parts[named].name);
    } catch (...) {
        for (size_t p = 0; p < named; ++p)
            std::free(const_cast<char*>(parts[p].name));
        throw;
    }
    for (size_t p = 0; p < model.parts.size(); ++p) {
        Part& source = model.parts[p];
        MeshPart& part = parts[p];
        part.faceCount = static_cast<int32_t>(source.faces.size());
        part.faces = source.faces.Release();
        part.vertexCount = static_cast<int32_t>(source.vertices.size());
        part.vertices = source.vertices.Release();
        part.texCoordCount = static_cast<int32_t>(source.texCoords.size());
        part.texCoords = source.texCoords.Release();
    }
    return parts.Release();
}

void FreeMaterials(MeshMaterials& materials)
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

// The records of the model's materials; the groups' face lists move over.
// Throws std::bad_alloc having freed what it built.
MeshMaterials BuildMaterials(Model& model, int32_t version)
{
    bool grouped = false;
    for (const Part& part : model.parts)
        grouped = grouped || !part.groups.empty();
    MeshMaterials built{version, 0, nullptr, 0, nullptr};
    try {
        built.materials = MallocArray<MeshMaterial>(model.materials.size()).Release();
        for (const Material& source : model.materials) {
            MeshMaterial& material = built.materials[built.materialCount];
            material.name = CopyText(source.name);
            ++built.materialCount;
            std::copy(source.ambient.begin(), source.ambient.end(), material.ambient);
            std::copy(source.diffuse.begin(), source.diffuse.end(), material.diffuse);
            std::copy(source.specular.begin(), source.specular.end(), material.specular);
            material.shininess = source.shininess;
            material.opacity = source.opacity;
            material.twoSided = source.twoSided ? 1 : 0;
            material.texturePath = source.texturePath.empty() ? nullptr : CopyText(source.texturePath);
        }
        built.parts = MallocArray<MeshPartGroups>(grouped ? model.parts.size() : 0).Release();
        for (Part& part : model.parts) {
            if (!grouped)
                break;
            MeshPartGroups& groups = built.parts[built.partCount];
            groups.groups = MallocArray<MeshFaceGroup>(part.groups.size()).Release();
            ++built.partCount;
            for (FaceGroup& group : part.groups) {
                MeshFaceGroup& record = groups.groups[groups.groupCount];
                record.material = group.material;
                record.faceCount = static_cast<int32_t>(group.faces.size());
                record.faces = group.faces.Release();
                ++groups.groupCount;
            }
        }
    } catch (...) {
        FreeMaterials(built);
        throw;
    }
    return built;
}

std::string JoinedNotes(const Model& model)
{
    std::string text;
    for (const std::string& note : model.notes) {
        if (text.size() + note.size() + 1 > ZELPLUG_MAX_NOTES)
            break;
        if (!text.empty())
            text += '\n';
        text += note;
    }
    return text;
}

} // namespace

void SetEmpty(MeshSet& set) noexcept
{
    set.partCount = 0;
    // A failed allocation leaves a null pointer, which a count of 0 allows.
    set.parts = static_cast<MeshPart*>(std::malloc(sizeof(MeshPart)));
}

void HandOver(Model& model, MeshSet& set, MeshMaterials* materials, MeshModelInfo* info) noexcept
{
    if (model.refused)
        model.parts.clear();
    try {
        // The notes and materials are made before the parts leave the model,
        // so that running out of memory leaves nothing half handed over.
        char* notes = nullptr;
        if (info && !model.notes.empty())
            notes = CopyText(JoinedNotes(model));
        MeshMaterials built{materials ? materials->version : 0, 0, nullptr, 0, nullptr};
        try {
            if (materials && (!model.materials.empty() || !model.parts.empty()))
                built = BuildMaterials(model, materials->version);
            set.parts = BuildParts(model);
        } catch (...) {
            FreeMaterials(built);
            std::free(notes);
            throw;
        }
        set.partCount = static_cast<int32_t>(model.parts.size());
        if (materials && (built.materialCount > 0 || built.partCount > 0))
            *materials = built;
        else
            FreeMaterials(built);
        if (info) {
            info->metresPerUnit = model.metresPerUnit;
            info->upAxis = model.upAxis;
            info->notes = notes;
        }
    } catch (...) {
        SetEmpty(set);
    }
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
    FreeMaterials(materials);
}

void ReleaseInfo(MeshModelInfo& info)
{
    std::free(const_cast<char*>(info.notes));
    info.notes = nullptr;
}

} // namespace zelvane::modelport
