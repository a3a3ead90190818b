#include "plugins/modelport/HandOver.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace zelvane::modelport {

using pluginkit::CopyText;

namespace {

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
        ReleaseMaterials(built);
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
            ReleaseMaterials(built);
            std::free(notes);
            throw;
        }
        set.partCount = static_cast<int32_t>(model.parts.size());
        if (materials && (built.materialCount > 0 || built.partCount > 0))
            *materials = built;
        else
            ReleaseMaterials(built);
        if (info) {
            info->metresPerUnit = model.metresPerUnit;
            info->upAxis = model.upAxis;
            info->notes = notes;
        }
    } catch (...) {
        SetEmpty(set);
    }
}

void ReleaseInfo(MeshModelInfo& info)
{
    std::free(const_cast<char*>(info.notes));
    info.notes = nullptr;
}

} // namespace zelvane::modelport
