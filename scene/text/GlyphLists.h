#pragma once
// What the platform's outline fonts put into a character's two display lists:
// the solid letter (front face, back face, side walls) in one, its outline
// loops at z = 0 in the other, each ending with a move by the glyph's cell
// increment so that lists called one after another set a line of text.

#include "scene/text/ExtrudedGlyph.h"
#include "scene/text/OutlineFont.h"

#include <GL/gl.h>

namespace zelvane {

// Compiles `solid` into the list `polygons` and the contours of `glyph` into
// the list `lines`. The context is current.
void CompileGlyphLists(const GlyphOutline& glyph, const ExtrudedGlyph& solid, GLuint polygons, GLuint lines);

} // namespace zelvane
