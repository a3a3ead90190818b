#pragma once
// How a glyph of the outline fonts sits, in em units (the em square is 1.0):
// the size of its black box (the smallest box around its ink), the box's
// upper-left corner from the glyph's origin, and how far the next glyph's
// origin lies from this one. The platform's float glyph metrics, field for
// field.

namespace zelvane {

struct GlyphMetrics {
    float blackBoxX = 0.0f;
    float blackBoxY = 0.0f;
    float glyphOriginX = 0.0f;
    float glyphOriginY = 0.0f;
    float cellIncX = 0.0f;
    float cellIncY = 0.0f;

    friend bool operator==(const GlyphMetrics&, const GlyphMetrics&) = default;
};
static_assert(sizeof(GlyphMetrics) == 24, "24 bytes per character, as the platform's record");

} // namespace zelvane
