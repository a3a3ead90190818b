#include "plugins/meshport/MeshSetBuilder.h"

#include "plugins/kit/HandedRecords.h"
#include "plugins/kit/TexturePath.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace zelvane::meshport {

using pluginkit::CopyText;
using pluginkit::FreePart;
using pluginkit::ReleaseMaterials;
using pluginkit::ResolveTexturePath;

namespace {

bool CornersInside(const MeshFace& face, int32_t vertexCount)
{
    for (const int32_t corner : face.vertex)
        if (corner < 0 || corner >= vertexCount)
            return false;
    return true;
}

// Every allocation comes before the first array leaves the object, so a
// failure leaves the object as it was.
MeshPart BuildPart(MeshObject& object)
{
    MeshPart part{};
    part.name = CopyText(object.name);
    const size_t vertexCount = object.vertices.size(); // at most 65535: a u16 count
    MallocArray<MeshTexCoord> texCoords = std::move(object.mapping);
    try {
        texCoords.Resize(vertexCount);
    } catch (...) {
        std::free(const_cast<char*>(part.name));
        throw;
    }

    // The faces' materials move with them, so groups name the faces kept.
    object.faceMaterials.resize(object.faces.size());
    object.faceInGroup.resize(object.faces.size());
    size_t kept = 0;
    for (size_t f = 0; f < object.faces.size(); ++f)
        if (CornersInside(object.faces[f], static_cast<int32_t>(vertexCount))) {
            object.faces[kept] = object.faces[f];
            object.faceMaterials[kept] = object.faceMaterials[f];
            object.faceInGroup[kept] = object.faceInGroup[f];
            ++kept;
        }
    object.faceMaterials.resize(kept);
    object.faceInGroup.resize(kept);

    part.faceCount = static_cast<int32_t>(kept);
    part.faces = object.faces.Release();
    part.vertexCount = static_cast<int32_t>(vertexCount);
    part.vertices = object.vertices.Release();
    part.texCoordCount = static_cast<int32_t>(vertexCount);
    part.texCoords = texCoords.Release();
    return part;
}

} // namespace

void HandOverMeshes(ThreeDSModel& model, MeshSet& set)
{
    // Each mesh takes at least a chunk header of a file below 4 GiB, so this
    // cut never bites; it keeps the count honest all the same.
    const size_t count = std::min<size_t>(model.objects.size(), std::numeric_limits<int32_t>::max());
    MallocArray<MeshPart> parts(count);
    size_t built = 0;
    try {
        for (; built < count; ++built)
            parts[built] = BuildPart(model.objects[built]);
    } catch (...) {
        for (size_t i = 0; i < built; ++i)
            FreePart(parts[i]);
        throw;
    }
    set.partCount = static_cast<int32_t>(count);
    set.parts = parts.Release();
}

namespace {

float Unit(uint8_t channel)
{
    return channel / 255.0f;
}

MeshMaterial BuildMaterial(const Material& source, std::string_view modelPath)
{
    MeshMaterial material{};
    material.name = CopyText(source.name);
    for (size_t c = 0; c < 3; ++c) {
        material.ambient[c] = Unit(source.ambient[c]);
        material.diffuse[c] = Unit(source.diffuse[c]);
        material.specular[c] = Unit(source.specular[c]) * source.shininessStrength;
    }
    material.shininess = source.shininess * 128.0f;
    material.opacity = 1.0f - source.transparency;
    material.twoSided = source.twoSided ? 1 : 0;
    try {
        const std::string path = ResolveTexturePath(modelPath, source.textureFile, ZELPLUG_MAX_TEXTURE_PATH);
        material.texturePath = path.empty() ? nullptr : CopyText(path);
    } catch (...) {
        std::free(const_cast<char*>(material.name));
        throw;
    }
    return material;
}

// One group per material the part's grouped faces use, in material order,
// each listing its faces in order.
MeshPartGroups BuildGroups(const MeshObject& object, size_t materialCount)
{
    std::vector<std::vector<int32_t>> byMaterial(materialCount);
    for (size_t f = 0; f < object.faceInGroup.size(); ++f)
        if (object.faceInGroup[f] && object.faceMaterials[f] < materialCount)
            byMaterial[object.faceMaterials[f]].push_back(static_cast<int32_t>(f));
    size_t used = 0;
    for (const auto& faces : byMaterial)
        used += faces.empty() ? 0 : 1;
    MallocArray<MeshFaceGroup> groups(used);
    size_t at = 0;
    try {
        for (size_t m = 0; m < materialCount; ++m) {
            if (byMaterial[m].empty())
                continue;
            MallocArray<int32_t> faces(byMaterial[m].size());
            std::memcpy(faces.data(), byMaterial[m].data(), byMaterial[m].size() * sizeof(int32_t));
            groups[at].material = static_cast<int32_t>(m);
            groups[at].faceCount = static_cast<int32_t>(faces.size());
            groups[at].faces = faces.Release();
            ++at;
        }
    } catch (...) {
        for (size_t g = 0; g < at; ++g)
            std::free(groups[g].faces);
        throw;
    }
    return MeshPartGroups{static_cast<int32_t>(used), groups.Release()};
}

} // namespace

void HandOverMaterials(const ThreeDSModel& model, std::string_view modelPath, MeshMaterials& materials)
{
    bool grouped = false;
    for (const MeshObject& object : model.objects)
        for (const uint8_t in : object.faceInGroup)
            grouped = grouped || in;
    // A file without materials and groups has nothing to say.
    if (!grouped && model.madeUpMaterial)
        return;
    MeshMaterials built{materials.version, 0, nullptr, 0, nullptr};
    try {
        MallocArray<MeshMaterial> table(model.materials.size());
        built.materials = table.Release();
        for (const Material& material : model.materials) {
            built.materials[built.materialCount] = BuildMaterial(material, modelPath);
            ++built.materialCount;
        }
        // Without a grouped face every face keeps the object's material.
        MallocArray<MeshPartGroups> parts(grouped ? model.objects.size() : 0);
        built.parts = parts.Release();
        for (const MeshObject& object : model.objects) {
            if (!grouped)
                break;
            built.parts[built.partCount] = BuildGroups(object, model.materials.size());
            ++built.partCount;
        }
    } catch (...) {
        // Out of memory: the mesh comes without materials.
        ReleaseMaterials(built);
        return;
    }
    materials = built;
}

} // namespace zelvane::meshport
