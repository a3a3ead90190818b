#pragma once
// A glyph as a solid letter: its filled face at z = 0 towards +z, the same
// face turned towards −z at the back, and side walls between them along every
// contour, as the 3-D text's display lists draw it. Plain geometry, built
// without OpenGL.

#include "scene/math/Vector3.h"
#include "scene/text/OutlineFont.h"

#include <vector>

namespace zelvane {

struct WallCorner {
    Vector3 position;
    Vector3 normal;
};

struct ExtrudedGlyph {
    // Three points per triangle, counter-clockwise seen from +z. The back face
    // is these at z = −depth in the opposite order.
    std::vector<OutlinePoint> face;
    // Four corners per quad, counter-clockwise seen from outside the letter;
    // normals point outwards, smooth along curves and sharp at corners. None
    // when the depth is 0.
    std::vector<WallCorner> walls;
    float depth = 0.0f;
};

// Walls whose directions differ by less than this many degrees share their
// normal where they meet, so that curved sides shade smoothly.
inline constexpr float kSmoothWallDegrees = 35.0f;

// `glyph` extruded by `depth` (0 or more) along −z.
ExtrudedGlyph ExtrudeGlyph(const GlyphOutline& glyph, float depth);

} // namespace zelvane
