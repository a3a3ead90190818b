#include "tools/RoundedMesh.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelvane {

RoundedMesh::RoundedMesh(const RoundedMeshShape& shape)
{
    const int v = std::max(4, static_cast<int>(std::sqrt(shape.triangles / 4.0)));
    const int u = std::max(4, shape.triangles / (2 * v));
    const double e = shape.exponent;
    auto power = [e](double value) { return std::copysign(std::pow(std::fabs(value), e), value); };
    for (int j = 0; j <= v; ++j)
        for (int i = 0; i < u; ++i) {
            const double phi = std::numbers::pi * j / v - std::numbers::pi / 2;
            const double theta = 2 * std::numbers::pi * i / u;
            const double c = power(std::cos(phi)), s = power(std::sin(phi));
            vertices_.push_back({static_cast<float>(shape.halfX * c * power(std::cos(theta))),
                                 static_cast<float>(shape.halfY * s),
                                 static_cast<float>(shape.halfZ * c * power(std::sin(theta)))});
        }
    for (int j = 0; j < v; ++j)
        for (int i = 0; i < u; ++i) {
            const int a = j * u + i, b = j * u + (i + 1) % u, c = a + u, d = b + u;
            faces_.push_back({{a, c, b}, {0, 0, 0}});
            faces_.push_back({{b, c, d}, {0, 0, 0}});
        }
    part_ = {"rounded", faces_.data(), static_cast<int32_t>(faces_.size()), vertices_.data(),
             static_cast<int32_t>(vertices_.size()), texCoords_.data(), 1};
    set_ = {"rounded", 1, &part_, shape.halfX, shape.halfY, shape.halfZ};
}

} // namespace zelvane
