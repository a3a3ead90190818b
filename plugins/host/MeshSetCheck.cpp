#include "plugins/host/MeshSetCheck.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace zelvane {

namespace {

std::string PartText(const MeshSet& set, int32_t index)
{
    const char* name = set.parts[index].name;
    return "part " + std::to_string(index + 1) + " (\"" + (name ? name : "") + "\")";
}

std::optional<std::string> CheckCount(int32_t count, const void* array, const char* what, const char* plural)
{
    if (count < 0)
        return std::string("has a negative ") + what + " count (" + std::to_string(count) + ")";
    if (count > 0 && !array)
        return std::string("has ") + std::to_string(count) + " " + plural + " but no " + what + " array";
    return std::nullopt;
}

bool Inside(int32_t index, int32_t count)
{
    return index >= 0 && index < count;
}

// The first index of a face outside its array, in words; only called for a
// face already found outside, so the common path stays a few comparisons.
std::string DescribeFace(const MeshFace& face, const MeshPart& part)
{
    for (const int32_t index : face.vertex)
        if (!Inside(index, part.vertexCount))
            return "vertex index " + std::to_string(index) + " is outside its " + std::to_string(part.vertexCount) +
                   " vertices";
    for (const int32_t index : face.texCoord)
        if (!Inside(index, part.texCoordCount))
            return "texture index " + std::to_string(index) + " is outside its " +
                   std::to_string(part.texCoordCount) + " texture coordinates";
    return {};
}

} // namespace

bool FaceInsidePart(const MeshFace& face, const MeshPart& part)
{
    const int32_t vertexCount = part.vertexCount;
    const int32_t texCoordCount = part.texCoordCount;
    return Inside(face.vertex[0], vertexCount) && Inside(face.vertex[1], vertexCount) &&
           Inside(face.vertex[2], vertexCount) && Inside(face.texCoord[0], texCoordCount) &&
           Inside(face.texCoord[1], texCoordCount) && Inside(face.texCoord[2], texCoordCount);
}

std::optional<std::string> CheckMeshSet(MeshSet& set)
{
    if (auto problem = CheckCount(set.partCount, set.parts, "part", "parts"))
        return "the set " + *problem;
    for (int32_t p = 0; p < set.partCount; ++p) {
        MeshPart& part = set.parts[p];
        if (!part.name)
            part.name = "";
        std::optional<std::string> problem = CheckCount(part.faceCount, part.faces, "face", "faces");
        if (!problem)
            problem = CheckCount(part.vertexCount, part.vertices, "vertex", "vertices");
        if (!problem)
            problem = CheckCount(part.texCoordCount, part.texCoords, "texture coordinate", "texture coordinates");
        if (problem)
            return PartText(set, p) + " " + *problem;
        for (int32_t f = 0; f < part.faceCount; ++f)
            if (!FaceInsidePart(part.faces[f], part))
                return PartText(set, p) + ", face " + std::to_string(f + 1) + ": " + DescribeFace(part.faces[f], part);
    }
    return std::nullopt;
}

namespace {

struct DoubleBounds {
    std::array<double, 3> low{DBL_MAX, DBL_MAX, DBL_MAX};
    std::array<double, 3> high{-DBL_MAX, -DBL_MAX, -DBL_MAX};
};

std::optional<DoubleBounds> MeasureDoubleBounds(const MeshSet& set)
{
    DoubleBounds bounds;
    bool any = false;
    for (int32_t p = 0; p < set.partCount; ++p) {
        const MeshPart& part = set.parts[p];
        for (int32_t v = 0; v < part.vertexCount; ++v) {
            const MeshVertex& vertex = part.vertices[v];
            const std::array<double, 3> position{vertex.x, vertex.y, vertex.z};
            if (!std::isfinite(position[0]) || !std::isfinite(position[1]) || !std::isfinite(position[2]))
                continue;
            any = true;
            for (size_t axis = 0; axis < 3; ++axis) {
                bounds.low[axis] = std::min(bounds.low[axis], position[axis]);
                bounds.high[axis] = std::max(bounds.high[axis], position[axis]);
            }
        }
    }
    if (!any)
        return std::nullopt;
    return bounds;
}

} // namespace

std::optional<MeshBounds> MeasureBounds(const MeshSet& set)
{
    const std::optional<DoubleBounds> bounds = MeasureDoubleBounds(set);
    if (!bounds)
        return std::nullopt;
    MeshBounds out;
    for (size_t axis = 0; axis < 3; ++axis) {
        out.low[axis] = static_cast<float>(bounds->low[axis]);
        out.high[axis] = static_cast<float>(bounds->high[axis]);
    }
    return out;
}

std::array<float, 3> MeasureExtents(const MeshSet& set)
{
    std::array<float, 3> extents{};
    const std::optional<DoubleBounds> bounds = MeasureDoubleBounds(set);
    if (!bounds)
        return extents;
    // In double, so a box spanning the whole float range does not overflow.
    for (size_t axis = 0; axis < 3; ++axis)
        extents[axis] = static_cast<float>(std::min((bounds->high[axis] - bounds->low[axis]) / 2, double{FLT_MAX}));
    return extents;
}

} // namespace zelvane
