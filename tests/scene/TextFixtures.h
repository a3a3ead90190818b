#pragma once
// Fonts for the text tests: the system's, and catalogs of a folder holding
// only the fonts a test names, to show what happens when others are missing.

#include "scene/text/FontCatalog.h"
#include "scene/text/OutlineFont.h"
#include "tests/testkit/TestFiles.h"

#include <memory>
#include <string>
#include <vector>

namespace zelvane::test {

// A catalog of a private folder with copies of the system faces of these
// families (regular only); a family the system lacks is left out. Empty list:
// a catalog with no fonts at all.
class FontFolder {
public:
    explicit FontFolder(const std::vector<std::string>& families);
    const FontCatalog& Catalog() const { return *catalog_; }

private:
    TempDir folder_;
    std::unique_ptr<FontCatalog> catalog_;
};

// The regular face of a system family, opened; null when it is not installed.
std::shared_ptr<const OutlineFont> SystemFont(const std::string& family, bool italic = false);

// Twice the signed area of a closed loop (positive counter-clockwise).
double TwiceSignedArea(const OutlineContour& contour);
// Whether (x, y) lies inside one of the triangles (three points each).
bool Covered(const std::vector<OutlinePoint>& triangles, float x, float y);

// The holes of a glyph: the contours that turn against the largest one.
std::vector<OutlineContour> HolesOf(const GlyphOutline& glyph);
// The middle of a hole (its points' mean), and a point in the stroke to its
// left, halfway between the hole's leftmost edge and the glyph's outer edge
// at the same height.
OutlinePoint MiddleOf(const OutlineContour& hole);
OutlinePoint StrokeLeftOf(const GlyphOutline& glyph, const OutlineContour& hole);
// The leftmost x at which `contour` crosses the height y (infinity if none).
float LeftmostCrossing(const OutlineContour& contour, float y);

} // namespace zelvane::test
