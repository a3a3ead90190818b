#pragma once
// The filled area of a glyph's outline as triangles, through the GLU
// tessellator (which needs no OpenGL context): holes stay open, overlapping
// contours merge by the outline's fill rule.

#include "scene/text/OutlineFont.h"

#include <vector>

namespace zelvane {

// Three points per triangle, each counter-clockwise seen from +z (so that a
// face towards the viewer is a front face); triangles without area are left
// out. Empty when the tessellator refuses the outline.
std::vector<OutlinePoint> TessellateOutline(const GlyphOutline& glyph);

} // namespace zelvane
