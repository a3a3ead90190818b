#pragma once
// Polygons of a model file cut into triangles: convex ones as a fan, others
// (up to kMaxEarPolygon corners) by cutting off ears in the polygon's own
// plane, so that a concave outline is filled exactly.

#include "plugins/interface/MeshSet.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zelvane::modelport {

// Above this many corners a concave polygon is cut as a fan: ear cutting
// takes time that grows with the cube of the corners.
inline constexpr size_t kMaxEarPolygon = 64;

enum class Cut { Fan, Ears, FanOfLargePolygon };

// Appends the triangles of the polygon with corners `corners` (in order,
// three or more) to `triangles`, each as three positions in `corners`,
// turning the same way round as the polygon. Says how it cut.
Cut TriangulatePolygon(std::span<const MeshVertex> corners, std::vector<std::array<uint32_t, 3>>& triangles);

} // namespace zelvane::modelport
