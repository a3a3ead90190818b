#include "plugins/modelport/Triangulate.h"

#include <cmath>

namespace zelvane::modelport {

namespace {

struct Point {
    double x, y;
};

double Cross(Point o, Point a, Point b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

void Fan(size_t count, std::vector<std::array<uint32_t, 3>>& triangles)
{
    for (size_t k = 1; k + 1 < count; ++k)
        triangles.push_back({0, static_cast<uint32_t>(k), static_cast<uint32_t>(k + 1)});
}

// Whether p lies inside or on triangle abc, which turns the way `sign` says.
bool Inside(Point p, Point a, Point b, Point c, double sign)
{
    return sign * Cross(a, b, p) >= 0 && sign * Cross(b, c, p) >= 0 && sign * Cross(c, a, p) >= 0;
}

} // namespace

Cut TriangulatePolygon(std::span<const MeshVertex> corners, std::vector<std::array<uint32_t, 3>>& triangles)
{
    const size_t n = corners.size();
    if (n < 3)
        return Cut::Fan;
    if (n == 3) {
        triangles.push_back({0, 1, 2});
        return Cut::Fan;
    }
    // The polygon's normal (Newell's method) says which plane to flatten it into.
    double nx = 0, ny = 0, nz = 0;
    for (size_t i = 0; i < n; ++i) {
        const MeshVertex& a = corners[i];
        const MeshVertex& b = corners[(i + 1) % n];
        nx += (static_cast<double>(a.y) - b.y) * (static_cast<double>(a.z) + b.z);
        ny += (static_cast<double>(a.z) - b.z) * (static_cast<double>(a.x) + b.x);
        nz += (static_cast<double>(a.x) - b.x) * (static_cast<double>(a.y) + b.y);
    }
    std::vector<Point> flat(n);
    const double ax = std::fabs(nx), ay = std::fabs(ny), az = std::fabs(nz);
    for (size_t i = 0; i < n; ++i) {
        const MeshVertex& v = corners[i];
        flat[i] = az >= ax && az >= ay ? Point{v.x, v.y} : ax >= ay ? Point{v.y, v.z} : Point{v.z, v.x};
    }
    double area = 0;
    for (size_t i = 0; i < n; ++i)
        area += flat[i].x * flat[(i + 1) % n].y - flat[(i + 1) % n].x * flat[i].y;
    if (!(std::fabs(area) > 0)) {
        Fan(n, triangles);
        return Cut::Fan;
    }
    const double sign = area > 0 ? 1.0 : -1.0;
    bool convex = true;
    for (size_t i = 0; i < n && convex; ++i)
        convex = sign * Cross(flat[i], flat[(i + 1) % n], flat[(i + 2) % n]) >= 0;
    if (convex) {
        Fan(n, triangles);
        return Cut::Fan;
    }
    if (n > kMaxEarPolygon) {
        Fan(n, triangles);
        return Cut::FanOfLargePolygon;
    }

    std::vector<uint32_t> left(n);
    for (size_t i = 0; i < n; ++i)
        left[i] = static_cast<uint32_t>(i);
    while (left.size() > 3) {
        const size_t m = left.size();
        bool cut = false;
        for (size_t i = 0; i < m && !cut; ++i) {
            const uint32_t a = left[(i + m - 1) % m], b = left[i], c = left[(i + 1) % m];
            if (sign * Cross(flat[a], flat[b], flat[c]) <= 0)
                continue; // reflex or flat: no ear
            bool empty = true;
            for (size_t k = 0; k < m && empty; ++k) {
                const uint32_t p = left[k];
                if (p == a || p == b || p == c)
                    continue;
                // Only corners that turn the other way can lie inside an ear.
                const uint32_t before = left[(k + m - 1) % m], after = left[(k + 1) % m];
                if (sign * Cross(flat[before], flat[p], flat[after]) <= 0 && Inside(flat[p], flat[a], flat[b], flat[c], sign))
                    empty = false;
            }
            if (!empty)
                continue;
            triangles.push_back({a, b, c});
            left.erase(left.begin() + static_cast<std::ptrdiff_t>(i));
            cut = true;
        }
        if (!cut) {
            // A polygon that crosses itself has no ear left: the rest as a fan.
            for (size_t k = 1; k + 1 < left.size(); ++k)
                triangles.push_back({left[0], left[k], left[k + 1]});
            return Cut::Ears;
        }
    }
    triangles.push_back({left[0], left[1], left[2]});
    return Cut::Ears;
}

} // namespace zelvane::modelport
