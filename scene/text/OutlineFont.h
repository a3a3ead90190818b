#pragma once
// One face of a font file through FreeType: glyph outlines flattened into
// polygons in em units for the 3-D text, and glyphs rasterised into one-bit
// bitmaps for the view's bitmap font. Faces are opened once per run and
// shared; fonts do not change under a running editor.

#include "scene/text/FontCatalog.h"
#include "scene/text/GlyphMetrics.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace zelvane {

struct OutlinePoint {
    float x = 0.0f;
    float y = 0.0f;

    friend bool operator==(const OutlinePoint&, const OutlinePoint&) = default;
};

// A closed loop: no point repeats the one before it, the last does not repeat
// the first, and there are at least three.
using OutlineContour = std::vector<OutlinePoint>;

struct GlyphOutline {
    std::vector<OutlineContour> contours;
    GlyphMetrics metrics;
    // The filled area lies to the right of each contour's direction of travel
    // (TrueType's rule) rather than to its left (PostScript's).
    bool fillOnRight = true;
    // Filled where an odd number of contours surround a point, rather than
    // where their windings do not cancel out.
    bool evenOdd = false;
};

// One-bit pixels, most significant bit first, rows bottom to top and each
// padded to whole bytes: what glBitmap takes with an unpack alignment of 1.
struct GlyphBitmap {
    int width = 0;
    int rows = 0;
    // From the pen position to the bitmap's left column and its top row.
    int left = 0;
    int top = 0;
    // Pixels to the next pen position.
    int advance = 0;
    std::vector<std::uint8_t> bits;
};

class OutlineFont {
public:
    // Curves become straight segments that stray at most this far (in em)
    // from the true outline: well under a pixel at any size the view shows.
    static constexpr float kFlatness = 0.001f;
    // How far a synthetic italic leans: x moves by this much per unit of y.
    static constexpr float kItalicSlant = 0.2f;

    // The face in `file`, shared by every caller; nothing when FreeType cannot
    // read it or it holds no outlines.
    static std::shared_ptr<const OutlineFont> Open(const FontFile& file);

    // The outline of the glyph for `character` (the font's missing-glyph shape
    // when it has none), slanted when the file asks for a synthetic italic.
    // Nothing when the glyph cannot be loaded.
    std::optional<GlyphOutline> Outline(char32_t character) const;

    // The glyph for `character` rasterised at an em of `pixels` pixels.
    // Nothing when it cannot be rendered.
    std::optional<GlyphBitmap> Bitmap(char32_t character, int pixels) const;

    ~OutlineFont();
    OutlineFont(const OutlineFont&) = delete;
    OutlineFont& operator=(const OutlineFont&) = delete;

private:
    struct Face;
    OutlineFont(std::unique_ptr<Face> face, bool syntheticItalic);

    std::unique_ptr<Face> face_;
    bool syntheticItalic_;
};

} // namespace zelvane
