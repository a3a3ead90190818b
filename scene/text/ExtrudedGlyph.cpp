#include "scene/text/ExtrudedGlyph.h"

#include "scene/text/OutlineTessellator.h"

#include <cmath>
#include <numbers>

namespace zelvane {

namespace {

// The unit normal of the edge from `a` to `b` that points away from the
// filled area, in the x-y plane.
Vector3 OutwardNormal(const OutlinePoint& a, const OutlinePoint& b, bool fillOnRight)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    Vector3 normal = fillOnRight ? Vector3{-dy, dx, 0.0f} : Vector3{dy, -dx, 0.0f};
    normal.Normalise();
    return normal;
}

float Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The normal a wall uses at a corner it shares with its neighbour: their mean
// when the two turn by less than the smoothing angle, else its own.
Vector3 CornerNormal(const Vector3& own, const Vector3& neighbour)
{
    static const float kSmoothCosine = std::cos(kSmoothWallDegrees * std::numbers::pi_v<float> / 180.0f);
    if (Dot(own, neighbour) < kSmoothCosine)
        return own;
    Vector3 mean = own + neighbour;
    mean.Normalise();
    return mean;
}

void AddWalls(const OutlineContour& contour, bool fillOnRight, float depth, std::vector<WallCorner>& walls)
{
    const std::size_t n = contour.size();
    std::vector<Vector3> normals(n);
    for (std::size_t i = 0; i < n; ++i)
        normals[i] = OutwardNormal(contour[i], contour[(i + 1) % n], fillOnRight);
    for (std::size_t i = 0; i < n; ++i) {
        const OutlinePoint& a = contour[i];
        const OutlinePoint& b = contour[(i + 1) % n];
        const Vector3 atA = CornerNormal(normals[i], normals[(i + n - 1) % n]);
        const Vector3 atB = CornerNormal(normals[i], normals[(i + 1) % n]);
        const WallCorner frontA{{a.x, a.y, 0.0f}, atA};
        const WallCorner frontB{{b.x, b.y, 0.0f}, atB};
        const WallCorner backB{{b.x, b.y, -depth}, atB};
        const WallCorner backA{{a.x, a.y, -depth}, atA};
        // Going a, b along the front edge, then back, turns counter-clockwise
        // about the normal on the left of the edge.
        if (fillOnRight)
            walls.insert(walls.end(), {frontA, frontB, backB, backA});
        else
            walls.insert(walls.end(), {frontA, backA, backB, frontB});
    }
}

} // namespace

ExtrudedGlyph ExtrudeGlyph(const GlyphOutline& glyph, float depth)
{
    ExtrudedGlyph solid;
    solid.depth = depth;
    solid.face = TessellateOutline(glyph);
    if (depth > 0.0f)
        for (const OutlineContour& contour : glyph.contours)
            AddWalls(contour, glyph.fillOnRight, depth, solid.walls);
    return solid;
}

} // namespace zelvane
