#include "scene/PrimitiveGeometry.h"

#include "scene/PrimitiveShapes.h"

#include <array>
#include <cmath>
#include <numbers>

namespace zelvane {

namespace {

// Sine and cosine of the slice angles 2π i / slices for i = 0..slices, the
// last equal to the first so that rings close exactly.
struct SliceAngles {
    std::vector<float> sine;
    std::vector<float> cosine;

    explicit SliceAngles(int slices)
    {
        for (int i = 0; i < slices; ++i) {
            const double angle = 2.0 * std::numbers::pi * i / slices;
            sine.push_back(static_cast<float>(std::sin(angle)));
            cosine.push_back(static_cast<float>(std::cos(angle)));
        }
        sine.push_back(sine.front());
        cosine.push_back(cosine.front());
    }
};

// The unit sphere's point on slice i and ring j. Ring j lies at the polar angle
// π j / stacks, from +z down to −z; the poles are exact points.
class SpherePoints {
public:
    SpherePoints(int slices, int stacks) : around_(slices)
    {
        for (int j = 0; j <= stacks; ++j) {
            const double angle = std::numbers::pi * j / stacks;
            ringRadius_.push_back(j == 0 || j == stacks ? 0.0f : static_cast<float>(std::sin(angle)));
            ringZ_.push_back(static_cast<float>(std::cos(angle)));
        }
    }

    Vector3 operator()(int i, int j) const
    {
        const auto si = static_cast<std::size_t>(i), sj = static_cast<std::size_t>(j);
        return {ringRadius_[sj] * around_.sine[si], ringRadius_[sj] * around_.cosine[si], ringZ_[sj]};
    }

private:
    SliceAngles around_;
    std::vector<float> ringRadius_;
    std::vector<float> ringZ_;
};

// A quad strip's quad (low i, high i, high i+1, low i+1) as two triangles of
// the same facing.
void AddQuad(PrimitiveMesh& mesh, const std::array<Vector3, 4>& corners, const std::array<Vector3, 4>& normals)
{
    for (const int k : {0, 1, 2, 0, 2, 3}) {
        mesh.positions.push_back(corners[static_cast<std::size_t>(k)]);
        mesh.normals.push_back(normals[static_cast<std::size_t>(k)]);
    }
}

void AddSegment(LineSegments& lines, const Vector3& a, const Vector3& b)
{
    if (a == b)
        return;
    lines.push_back(a);
    lines.push_back(b);
}

// Turns every point by 180° about y, as the cylinder's bottom cap is drawn.
template <typename Points>
void TurnAboutY(Points& points)
{
    for (Vector3& p : points)
        p = {-p.x, p.y, -p.z};
}

void Translate(std::vector<Vector3>& points, const Vector3& by)
{
    for (Vector3& p : points)
        p += by;
}

PrimitiveMesh BoxTriangles()
{
    // The six faces with their outward normals, corners in drawing order.
    static constexpr float kFaces[6][5][3] = {
        {{0, 0, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},
        {{0, 0, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}},
        {{-1, 0, 0}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}},
        {{1, 0, 0}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}},
        {{0, 1, 0}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}},
        {{0, -1, 0}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
    };
    PrimitiveMesh mesh;
    for (const auto& face : kFaces) {
        const Vector3 normal{face[0][0], face[0][1], face[0][2]};
        std::array<Vector3, 4> corners;
        for (std::size_t k = 0; k < 4; ++k)
            corners[k] = {face[k + 1][0], face[k + 1][1], face[k + 1][2]};
        AddQuad(mesh, corners, {normal, normal, normal, normal});
    }
    return mesh;
}

LineSegments BoxLines()
{
    const PrimitiveMesh box = BoxTriangles();
    LineSegments lines;
    // Each face's outline: corners 0, 1, 2 of its first triangle and 2 of its second.
    for (std::size_t face = 0; face < 6; ++face) {
        const Vector3* t = &box.positions[face * 6];
        const std::array<Vector3, 4> loop{t[0], t[1], t[2], t[5]};
        for (std::size_t k = 0; k < 4; ++k)
            AddSegment(lines, loop[k], loop[(k + 1) % 4]);
    }
    return lines;
}

PrimitiveMesh SquareTriangles()
{
    const Vector3 normal{0, 0, 1};
    PrimitiveMesh mesh;
    AddQuad(mesh, {Vector3{1, 1, 0}, Vector3{-1, 1, 0}, Vector3{-1, -1, 0}, Vector3{1, -1, 0}},
            {normal, normal, normal, normal});
    return mesh;
}

LineSegments SquareLines()
{
    const std::array<Vector3, 4> loop{Vector3{1, 1, 0}, Vector3{-1, 1, 0}, Vector3{-1, -1, 0}, Vector3{1, -1, 0}};
    LineSegments lines;
    for (std::size_t k = 0; k < 4; ++k)
        AddSegment(lines, loop[k], loop[(k + 1) % 4]);
    return lines;
}

// The cylinder's caps: the bottom one turned to face −z, the top one at the
// tube's end.
void AddCaps(PrimitiveMesh& mesh, float radius, bool bottom)
{
    if (bottom) {
        PrimitiveMesh cap = DiskTriangles(radius, shapes::kTubeSlices);
        TurnAboutY(cap.positions);
        TurnAboutY(cap.normals);
        mesh.Add(cap);
    }
    PrimitiveMesh top = DiskTriangles(radius, shapes::kTubeSlices);
    Translate(top.positions, {0, 0, shapes::kTubeHeight});
    mesh.Add(top);
}

void AddCapLines(LineSegments& lines, float radius, bool bottom)
{
    if (bottom) {
        LineSegments cap = DiskLines(radius, shapes::kTubeSlices);
        TurnAboutY(cap);
        lines.insert(lines.end(), cap.begin(), cap.end());
    }
    LineSegments top = DiskLines(radius, shapes::kTubeSlices);
    Translate(top, {0, 0, shapes::kTubeHeight});
    lines.insert(lines.end(), top.begin(), top.end());
}

} // namespace

void PrimitiveMesh::Add(const PrimitiveMesh& other)
{
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
}

PrimitiveMesh SphereTriangles(int slices, int stacks)
{
    const SpherePoints sphere(slices, stacks);
    PrimitiveMesh mesh;
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const std::array<Vector3, 4> corners{sphere(i, j + 1), sphere(i, j), sphere(i + 1, j),
                                                 sphere(i + 1, j + 1)};
            AddQuad(mesh, corners, corners);
        }
    return mesh;
}

LineSegments SphereLines(int slices, int stacks)
{
    const SpherePoints sphere(slices, stacks);
    LineSegments lines;
    for (int j = 1; j < stacks; ++j)
        for (int i = 0; i < slices; ++i)
            AddSegment(lines, sphere(i, j), sphere(i + 1, j));
    for (int i = 0; i < slices; ++i)
        for (int j = 0; j < stacks; ++j)
            AddSegment(lines, sphere(i, j), sphere(i, j + 1));
    return lines;
}

PrimitiveMesh TubeTriangles(float base, float top, float height, int slices)
{
    const SliceAngles around(slices);
    // The side's outward normal leans against the radius' growth.
    const float slope = (base - top) / height;
    const float normalScale = 1.0f / std::sqrt(1.0f + slope * slope);
    PrimitiveMesh mesh;
    for (int i = 0; i < slices; ++i) {
        const auto a = static_cast<std::size_t>(i), b = a + 1;
        const std::array<Vector3, 4> corners{
            Vector3{base * around.sine[a], base * around.cosine[a], 0},
            Vector3{top * around.sine[a], top * around.cosine[a], height},
            Vector3{top * around.sine[b], top * around.cosine[b], height},
            Vector3{base * around.sine[b], base * around.cosine[b], 0},
        };
        const Vector3 na{around.sine[a] * normalScale, around.cosine[a] * normalScale, slope * normalScale};
        const Vector3 nb{around.sine[b] * normalScale, around.cosine[b] * normalScale, slope * normalScale};
        AddQuad(mesh, corners, {na, na, nb, nb});
    }
    return mesh;
}

LineSegments TubeLines(float base, float top, float height, int slices)
{
    const SliceAngles around(slices);
    LineSegments lines;
    for (const auto& [radius, z] : {std::array{base, 0.0f}, std::array{top, height}})
        for (std::size_t i = 0; i < static_cast<std::size_t>(slices); ++i)
            AddSegment(lines, {radius * around.sine[i], radius * around.cosine[i], z},
                       {radius * around.sine[i + 1], radius * around.cosine[i + 1], z});
    for (std::size_t i = 0; i < static_cast<std::size_t>(slices); ++i)
        AddSegment(lines, {base * around.sine[i], base * around.cosine[i], 0},
                   {top * around.sine[i], top * around.cosine[i], height});
    return lines;
}

PrimitiveMesh DiskTriangles(float outer, int slices)
{
    const SliceAngles around(slices);
    const Vector3 normal{0, 0, 1};
    PrimitiveMesh mesh;
    // A fan from the centre, the rim walked from the last slice back to the first.
    for (std::size_t i = static_cast<std::size_t>(slices); i > 0; --i) {
        for (const Vector3& p : {Vector3{0, 0, 0}, Vector3{outer * around.sine[i], outer * around.cosine[i], 0},
                                 Vector3{outer * around.sine[i - 1], outer * around.cosine[i - 1], 0}}) {
            mesh.positions.push_back(p);
            mesh.normals.push_back(normal);
        }
    }
    return mesh;
}

LineSegments DiskLines(float outer, int slices)
{
    const SliceAngles around(slices);
    LineSegments lines;
    for (std::size_t i = 0; i < static_cast<std::size_t>(slices); ++i)
        AddSegment(lines, {outer * around.sine[i], outer * around.cosine[i], 0},
                   {outer * around.sine[i + 1], outer * around.cosine[i + 1], 0});
    for (std::size_t i = 0; i < static_cast<std::size_t>(slices); ++i)
        AddSegment(lines, {outer * around.sine[i], outer * around.cosine[i], 0}, {0, 0, 0});
    return lines;
}

PrimitiveShape ShapeOf(ObjectKind kind)
{
    using namespace shapes;
    switch (kind) {
    case ObjectKind::Box:
        return {BoxTriangles(), BoxLines()};
    case ObjectKind::Sphere:
        return {SphereTriangles(kSphereSlices, kSphereStacks), SphereLines(kSphereSlices, kSphereStacks)};
    case ObjectKind::Rod:
        return {TubeTriangles(kTubeRadius, kTubeRadius, kTubeHeight, kTubeSlices),
                TubeLines(kTubeRadius, kTubeRadius, kTubeHeight, kTubeSlices)};
    case ObjectKind::Cylinder: {
        PrimitiveShape shape{TubeTriangles(kTubeRadius, kTubeRadius, kTubeHeight, kTubeSlices),
                             TubeLines(kTubeRadius, kTubeRadius, kTubeHeight, kTubeSlices)};
        AddCaps(shape.solid, kTubeRadius, true);
        AddCapLines(shape.wire, kTubeRadius, true);
        return shape;
    }
    case ObjectKind::Cone: {
        PrimitiveShape shape{TubeTriangles(0.0f, kConeRadius, kTubeHeight, kTubeSlices),
                             TubeLines(0.0f, kConeRadius, kTubeHeight, kTubeSlices)};
        AddCaps(shape.solid, kConeRadius, false);
        AddCapLines(shape.wire, kConeRadius, false);
        return shape;
    }
    case ObjectKind::Disk:
        return {DiskTriangles(kDiskRadius, kDiskSlices), DiskLines(kDiskRadius, kDiskSlices)};
    case ObjectKind::Plane:
    case ObjectKind::Floor:
    case ObjectKind::RightWall:
    case ObjectKind::LeftWall:
    case ObjectKind::Ceiling:
    case ObjectKind::Billboard:
        return {SquareTriangles(), SquareLines()};
    case ObjectKind::Text:
    case ObjectKind::Mesh:
        break;
    }
    return {};
}

} // namespace zelvane
