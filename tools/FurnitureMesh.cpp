#include "tools/FurnitureMesh.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelvane {

float Dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 Normalised(Vec3 v)
{
    const float length = std::sqrt(Dot(v, v));
    return length > 0 ? v * (1 / length) : v;
}

Vec3 Mix(Vec3 a, Vec3 b, float t)
{
    return a * (1 - t) + b * t;
}

Vec3 ColourOf(uint32_t rgb)
{
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255, static_cast<float>((rgb >> 8) & 0xFF) / 255,
            static_cast<float>(rgb & 0xFF) / 255};
}

uint16_t FurnitureMesh::AddMaterial(const Material& material)
{
    materials_.push_back(material);
    return static_cast<uint16_t>(materials_.size() - 1);
}

void FurnitureMesh::Add(const MeshVertex& a, const MeshVertex& b, const MeshVertex& c, uint16_t material)
{
    triangles_.push_back({{a, b, c}, material});
}

void FurnitureMesh::AddTriangle(Vec3 a, Vec3 b, Vec3 c, uint16_t material)
{
    const Vec3 n = Normalised(Cross(b - a, c - a));
    Add({a, n}, {b, n}, {c, n}, material);
}

void FurnitureMesh::AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, uint16_t material)
{
    AddTriangle(a, b, c, material);
    AddTriangle(a, c, d, material);
}

void FurnitureMesh::AddBox(Vec3 min, Vec3 max, uint16_t material)
{
    const float x0 = min.x, y0 = min.y, z0 = min.z, x1 = max.x, y1 = max.y, z1 = max.z;
    AddQuad({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}, material); // top
    AddQuad({x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}, material); // bottom
    AddQuad({x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}, material); // front (-y)
    AddQuad({x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, material); // back
    AddQuad({x0, y1, z0}, {x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, material); // -x
    AddQuad({x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, material); // +x
}

void FurnitureMesh::AddTube(Vec3 from, Vec3 to, float r0, float r1, int segments, uint16_t material, Caps caps)
{
    const Vec3 axis = Normalised(to - from);
    // Any two directions square to the axis and to each other.
    const Vec3 helper = std::fabs(axis.z) < 0.9f ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    const Vec3 u = Normalised(Cross(axis, helper));
    const Vec3 v = Cross(axis, u);
    const float length = std::sqrt(Dot(to - from, to - from));
    // The side's normal leans along the axis as the radius changes.
    const float lean = length > 0 ? (r0 - r1) / length : 0;
    for (int i = 0; i < segments; ++i) {
        const float a0 = 2 * std::numbers::pi_v<float> * static_cast<float>(i) / static_cast<float>(segments);
        const float a1 = 2 * std::numbers::pi_v<float> * static_cast<float>(i + 1) / static_cast<float>(segments);
        const Vec3 d0 = u * std::cos(a0) + v * std::sin(a0);
        const Vec3 d1 = u * std::cos(a1) + v * std::sin(a1);
        const Vec3 n0 = Normalised(d0 + axis * lean);
        const Vec3 n1 = Normalised(d1 + axis * lean);
        const MeshVertex p00{from + d0 * r0, n0}, p01{from + d1 * r0, n1};
        const MeshVertex p10{to + d0 * r1, n0}, p11{to + d1 * r1, n1};
        Add(p00, p01, p11, material);
        Add(p00, p11, p10, material);
        if (caps == Caps::Both) {
            if (r0 > 0)
                Add({from, -axis}, {p01.position, -axis}, {p00.position, -axis}, material);
            if (r1 > 0)
                Add({to, axis}, {p10.position, axis}, {p11.position, axis}, material);
        }
    }
}

void FurnitureMesh::AddEllipsoid(Vec3 centre, Vec3 radii, int segments, uint16_t material)
{
    const int rings = segments / 2;
    auto point = [&](int ring, int segment) {
        const float theta = std::numbers::pi_v<float> * static_cast<float>(ring) / static_cast<float>(rings);
        const float phi = 2 * std::numbers::pi_v<float> * static_cast<float>(segment) / static_cast<float>(segments);
        const Vec3 unit{std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta)};
        // The normal of an ellipsoid: the unit sphere's normal scaled by 1 / radius.
        const Vec3 normal = Normalised({unit.x / radii.x, unit.y / radii.y, unit.z / radii.z});
        return MeshVertex{centre + unit * radii, normal};
    };
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            const MeshVertex a = point(r, s), b = point(r + 1, s), c = point(r + 1, s + 1), d = point(r, s + 1);
            if (r > 0)
                Add(a, b, d, material);
            if (r < rings - 1)
                Add(b, c, d, material);
        }
}

void FurnitureMesh::AddPrism(std::span<const float> xz, float y0, float y1, uint16_t material)
{
    const size_t corners = xz.size() / 2;
    auto at = [&](size_t i, float y) { return Vec3{xz[2 * (i % corners)], y, xz[2 * (i % corners) + 1]}; };
    for (size_t i = 1; i + 1 < corners; ++i) {
        AddTriangle(at(0, y0), at(i, y0), at(i + 1, y0), material);
        AddTriangle(at(0, y1), at(i + 1, y1), at(i, y1), material);
    }
    for (size_t i = 0; i < corners; ++i)
        AddQuad(at(i, y1), at(i + 1, y1), at(i + 1, y0), at(i, y0), material);
}

float FloorShadow::AlphaAt(float x, float y) const
{
    const float dx = std::max({minX - x, 0.0f, x - maxX});
    const float dy = std::max({minY - y, 0.0f, y - maxY});
    const float d = soft > 0 ? std::min(1.0f, std::sqrt(dx * dx + dy * dy) / soft) : (dx > 0 || dy > 0 ? 1.0f : 0.0f);
    return strength * (1 - d * d * (3 - 2 * d));
}

} // namespace zelvane
