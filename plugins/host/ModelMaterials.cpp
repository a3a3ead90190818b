#include "plugins/host/ModelMaterials.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zelvane {

namespace {

std::string PartText(const MeshSet& set, std::size_t part)
{
    const char* name = set.parts[part].name;
    return "part " + std::to_string(part + 1) + " (\"" + (name ? name : "") + "\")";
}

std::string GroupText(const MeshSet& set, std::size_t part, std::size_t group)
{
    return PartText(set, part) + ", group " + std::to_string(group + 1);
}

std::string MaterialText(std::size_t index, const std::string& name)
{
    return "material " + std::to_string(index + 1) + " (\"" + name + "\")";
}

// A string of at most `limit` bytes, or nothing; never reads past limit + 1
// bytes of it, so an unterminated string cannot run away.
std::optional<std::string> BoundedString(const char* text, std::size_t limit)
{
    if (!text)
        return std::string();
    const std::size_t length = ::strnlen(text, limit + 1);
    if (length > limit)
        return std::nullopt;
    return std::string(text, length);
}

std::optional<std::string> CheckCount(std::int32_t count, const void* array, const char* what)
{
    if (count < 0)
        return std::string("has a negative ") + what + " count (" + std::to_string(count) + ")";
    if (count > 0 && !array)
        return std::string("has ") + std::to_string(count) + " " + what + "s but no " + what + " array";
    return std::nullopt;
}

std::optional<std::string> CopyMaterial(const MeshMaterial& record, ModelMaterial& material)
{
    const std::optional<std::string> name = BoundedString(record.name, ZELPLUG_MAX_MATERIAL_NAME);
    if (!name)
        return "has a name longer than " + std::to_string(ZELPLUG_MAX_MATERIAL_NAME) + " bytes";
    material.name = *name;
    const std::optional<std::string> path = BoundedString(record.texturePath, ZELPLUG_MAX_TEXTURE_PATH);
    if (!path)
        return "has a texture path longer than " + std::to_string(ZELPLUG_MAX_TEXTURE_PATH) + " bytes";
    material.texturePath = *path;
    if (record.twoSided != 0 && record.twoSided != 1)
        return "has a two-sided flag of " + std::to_string(record.twoSided) + " (0 or 1 expected)";
    for (std::size_t c = 0; c < 3; ++c) {
        material.ambient[c] = record.ambient[c];
        material.diffuse[c] = record.diffuse[c];
        material.specular[c] = record.specular[c];
    }
    material.shininess = record.shininess;
    material.opacity = record.opacity;
    material.twoSided = record.twoSided == 1;
    return std::nullopt;
}

std::optional<std::string> CheckUnit(float value, const char* what)
{
    if (!std::isfinite(value))
        return std::string(what) + " is not a number";
    if (value < 0.0f || value > 1.0f)
        return std::string(what) + " lies outside 0 to 1";
    return std::nullopt;
}

std::optional<std::string> CheckColour(const std::array<float, 3>& colour, const char* what)
{
    for (const float channel : colour)
        if (auto problem = CheckUnit(channel, what))
            return problem;
    return std::nullopt;
}

std::optional<std::string> CheckMaterial(const ModelMaterial& material)
{
    if (auto problem = CheckColour(material.ambient, "its ambient colour"))
        return problem;
    if (auto problem = CheckColour(material.diffuse, "its diffuse colour"))
        return problem;
    if (auto problem = CheckColour(material.specular, "its specular colour"))
        return problem;
    if (auto problem = CheckUnit(material.opacity, "its opacity"))
        return problem;
    if (!std::isfinite(material.shininess) || material.shininess < 0.0f || material.shininess > 128.0f)
        return std::string("its shininess is not a number from 0 to 128");
    if (material.name.size() > ZELPLUG_MAX_MATERIAL_NAME)
        return "its name is longer than " + std::to_string(ZELPLUG_MAX_MATERIAL_NAME) + " bytes";
    if (material.texturePath.size() > ZELPLUG_MAX_TEXTURE_PATH)
        return "its texture path is longer than " + std::to_string(ZELPLUG_MAX_TEXTURE_PATH) + " bytes";
    if (!material.texturePath.empty() && material.texturePath.front() != '/')
        return "its texture path \"" + material.texturePath + "\" is not absolute";
    if (material.texturePath.find('\0') != std::string::npos)
        return std::string("its texture path holds a zero byte");
    return std::nullopt;
}

} // namespace

std::optional<std::string> CopyMaterialRecords(const MeshMaterials& records, const MeshSet& set, ModelMaterials& out)
{
    out = {};
    std::optional<std::string> problem;
    if (auto count = CheckCount(records.materialCount, records.materials, "material"))
        problem = "the materials " + *count;
    else if (auto parts = CheckCount(records.partCount, records.parts, "part"))
        problem = "the materials " + *parts;
    else if (records.partCount != 0 && records.partCount != set.partCount)
        problem = "the materials have face groups for " + std::to_string(records.partCount) + " parts, the mesh has " +
                  std::to_string(set.partCount);
    for (std::int32_t m = 0; !problem && m < records.materialCount; ++m) {
        ModelMaterial& material = out.materials.emplace_back();
        if (auto why = CopyMaterial(records.materials[m], material))
            problem = "material " + std::to_string(m + 1) + " " + *why;
    }
    for (std::int32_t p = 0; !problem && p < records.partCount; ++p) {
        const MeshPartGroups& part = records.parts[p];
        std::vector<ModelFaceGroup>& groups = out.partGroups.emplace_back();
        if (auto why = CheckCount(part.groupCount, part.groups, "group")) {
            problem = PartText(set, static_cast<std::size_t>(p)) + " " + *why;
            break;
        }
        for (std::int32_t g = 0; g < part.groupCount; ++g) {
            const MeshFaceGroup& record = part.groups[g];
            if (auto why = CheckCount(record.faceCount, record.faces, "face")) {
                problem = GroupText(set, static_cast<std::size_t>(p), static_cast<std::size_t>(g)) + " " + *why;
                break;
            }
            // More faces than the part has cannot be right, and would be a
            // large allocation for nothing.
            if (record.faceCount > set.parts[p].faceCount) {
                problem = GroupText(set, static_cast<std::size_t>(p), static_cast<std::size_t>(g)) + " lists " +
                          std::to_string(record.faceCount) + " faces, its part has " +
                          std::to_string(set.parts[p].faceCount);
                break;
            }
            groups.push_back({record.material, std::vector<std::int32_t>(record.faces, record.faces + record.faceCount)});
        }
    }
    if (problem)
        out = {};
    return problem;
}

std::optional<std::string> CheckModelMaterials(const ModelMaterials& materials, const MeshSet& set)
{
    for (std::size_t m = 0; m < materials.materials.size(); ++m)
        if (auto problem = CheckMaterial(materials.materials[m]))
            return MaterialText(m, materials.materials[m].name) + ": " + *problem;
    const std::size_t parts = materials.partGroups.size();
    if (parts != 0 && parts != static_cast<std::size_t>(std::max(set.partCount, 0)))
        return "the materials have face groups for " + std::to_string(parts) + " parts, the mesh has " +
               std::to_string(set.partCount);
    std::vector<std::int32_t> owner; // the group (from 1) each face is in, 0 for none
    for (std::size_t p = 0; p < parts; ++p) {
        const MeshPart& part = set.parts[p];
        owner.assign(static_cast<std::size_t>(std::max(part.faceCount, 0)), 0);
        const std::vector<ModelFaceGroup>& groups = materials.partGroups[p];
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const ModelFaceGroup& group = groups[g];
            if (group.material < 0 || static_cast<std::size_t>(group.material) >= materials.materials.size())
                return GroupText(set, p, g) + ": material " + std::to_string(group.material) + " is outside its " +
                       std::to_string(materials.materials.size()) + " materials";
            for (const std::int32_t face : group.faces) {
                if (face < 0 || face >= part.faceCount)
                    return GroupText(set, p, g) + ": face " + std::to_string(face) + " is outside its " +
                           std::to_string(part.faceCount) + " faces";
                std::int32_t& first = owner[static_cast<std::size_t>(face)];
                if (first != 0)
                    return GroupText(set, p, g) + ": face " + std::to_string(face) + " is also in group " +
                           std::to_string(first);
                first = static_cast<std::int32_t>(g + 1);
            }
        }
    }
    return std::nullopt;
}

} // namespace zelvane
