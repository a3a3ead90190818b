#pragma once
// What the host checks and measures in a mesh set a plug-in handed back,
// before anything can draw it.

#include "plugins/interface/MeshSet.h"

#include <array>
#include <optional>
#include <string>

namespace zelvane {

// The first way in which `set` breaks the plug-in contract, in words for the
// user ("part 2 (\"Box\"), face 7: vertex index 9 is outside its 8
// vertices"), or nothing when it keeps it: counts are not negative, arrays
// with elements are there, and every face's vertex and texture indices lie
// inside its part's arrays. Parts with a null name get an empty one.
std::optional<std::string> CheckMeshSet(MeshSet& set);

// Whether every index of `face` lies inside `part`'s vertices and texture
// coordinates.
bool FaceInsidePart(const MeshFace& face, const MeshPart& part);

// The bounding box of every finite vertex of every part; nothing when there
// is none. Call only on a checked set.
struct MeshBounds {
    std::array<float, 3> low{};
    std::array<float, 3> high{};
};
std::optional<MeshBounds> MeasureBounds(const MeshSet& set);

// Half the size of that box along x, y and z; zero when there is none.
std::array<float, 3> MeasureExtents(const MeshSet& set);

} // namespace zelvane
