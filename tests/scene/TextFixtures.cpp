#include "tests/scene/TextFixtures.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

namespace zelvane::test {

FontFolder::FontFolder(const std::vector<std::string>& families)
{
    for (const std::string& family : families)
        if (const std::optional<FontFile> face = CurrentFontCatalog().FaceOf(family, false)) {
            const std::filesystem::path source = face->path;
            std::filesystem::copy_file(source, folder_.Path() / source.filename());
        }
    catalog_ = FontCatalog::FromFolder(folder_.Path().string());
}

std::shared_ptr<const OutlineFont> SystemFont(const std::string& family, bool italic)
{
    const std::optional<FontFile> face = CurrentFontCatalog().FaceOf(family, italic);
    return face ? OutlineFont::Open(*face) : nullptr;
}

double TwiceSignedArea(const OutlineContour& contour)
{
    double area = 0;
    for (std::size_t i = 0; i < contour.size(); ++i) {
        const OutlinePoint& a = contour[i];
        const OutlinePoint& b = contour[(i + 1) % contour.size()];
        area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return area;
}

bool Covered(const std::vector<OutlinePoint>& triangles, float x, float y)
{
    for (std::size_t i = 0; i + 2 < triangles.size(); i += 3) {
        const OutlinePoint& a = triangles[i];
        const OutlinePoint& b = triangles[i + 1];
        const OutlinePoint& c = triangles[i + 2];
        const auto side = [&](const OutlinePoint& p, const OutlinePoint& q) {
            return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
        };
        if (side(a, b) >= 0 && side(b, c) >= 0 && side(c, a) >= 0)
            return true;
    }
    return false;
}

std::vector<OutlineContour> HolesOf(const GlyphOutline& glyph)
{
    double largest = 0;
    for (const OutlineContour& contour : glyph.contours)
        if (std::abs(TwiceSignedArea(contour)) > std::abs(largest))
            largest = TwiceSignedArea(contour);
    std::vector<OutlineContour> holes;
    for (const OutlineContour& contour : glyph.contours)
        if (TwiceSignedArea(contour) * largest < 0)
            holes.push_back(contour);
    return holes;
}

OutlinePoint MiddleOf(const OutlineContour& hole)
{
    OutlinePoint sum;
    for (const OutlinePoint& p : hole) {
        sum.x += p.x / static_cast<float>(hole.size());
        sum.y += p.y / static_cast<float>(hole.size());
    }
    return sum;
}

float LeftmostCrossing(const OutlineContour& contour, float y)
{
    float leftmost = std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i < contour.size(); ++i) {
        const OutlinePoint& a = contour[i];
        const OutlinePoint& b = contour[(i + 1) % contour.size()];
        if ((a.y > y) != (b.y > y))
            leftmost = std::min(leftmost, a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
    }
    return leftmost;
}

OutlinePoint StrokeLeftOf(const GlyphOutline& glyph, const OutlineContour& hole)
{
    const float y = MiddleOf(hole).y;
    const float holeEdge = LeftmostCrossing(hole, y);
    float outerEdge = holeEdge;
    for (const OutlineContour& contour : glyph.contours)
        outerEdge = std::min(outerEdge, LeftmostCrossing(contour, y));
    return {(outerEdge + holeEdge) / 2, y};
}

} // namespace zelvane::test
