#pragma once
// The primitives' shapes as plain triangles and line segments, vertex for
// vertex the ones the display lists draw (GLU's quadrics included: the same
// slices, stacks, positions and facing). The picking pass draws spheres from
// these, since Mesa's software rasteriser can crash on a GLU sphere list in
// select mode; the benchmark draws them as one vertex array to compare.

#include "scene/ObjectKind.h"
#include "scene/math/Vector3.h"

#include <vector>

namespace zelvane {

struct PrimitiveMesh {
    // Every three positions are one triangle, counter-clockwise seen from its
    // front; one normal per position.
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;

    void Add(const PrimitiveMesh& other);
};

// Every two points are one line segment.
using LineSegments = std::vector<Vector3>;

// Radius 1 about the origin, `slices` around z, `stacks` from +z to −z, as
// gluSphere makes it.
PrimitiveMesh SphereTriangles(int slices, int stacks);
LineSegments SphereLines(int slices, int stacks);

// A tube along +z from radius `base` at z = 0 to `top` at z = `height`, one
// stack, as gluCylinder makes it.
PrimitiveMesh TubeTriangles(float base, float top, float height, int slices);
LineSegments TubeLines(float base, float top, float height, int slices);

// A disk of radius `outer` in the plane z = 0 facing +z, one loop, as gluDisk
// makes it with inner radius 0.
PrimitiveMesh DiskTriangles(float outer, int slices);
LineSegments DiskLines(float outer, int slices);

// The solid and the wireframe shape of a primitive kind in its own
// coordinates (before the object's transform). Empty for text and meshes.
struct PrimitiveShape {
    PrimitiveMesh solid;
    LineSegments wire;
};
PrimitiveShape ShapeOf(ObjectKind kind);

} // namespace zelvane
