// The geometry of 3-D letters without OpenGL: fonts found by family as the
// platform's rules say, outlines in em units with their metrics, filled faces
// that keep their holes, walls that face outwards and shade smoothly along
// curves, and the code page the text is kept in.

#include "scene/text/ExtrudedGlyph.h"
#include "scene/text/OutlineTessellator.h"
#include "scene/text/Windows1252.h"
#include "tests/scene/TextFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelvane {
namespace {

using test::Covered;
using test::FontFolder;
using test::SystemFont;
using test::TwiceSignedArea;

// Whether (x, y) lies inside `contour` (crossings of a ray to the right).
bool Inside(const OutlineContour& contour, float x, float y)
{
    bool inside = false;
    for (std::size_t i = 0, j = contour.size() - 1; i < contour.size(); j = i++) {
        const OutlinePoint& a = contour[i];
        const OutlinePoint& b = contour[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

double TrianglesArea(const std::vector<OutlinePoint>& triangles)
{
    double area = 0;
    for (std::size_t i = 0; i < triangles.size(); i += 3)
        area += TwiceSignedArea({triangles[i], triangles[i + 1], triangles[i + 2]}) / 2;
    return area;
}

class Glyphs : public testing::Test {
protected:
    void SetUp() override
    {
        arial_ = SystemFont("Arial");
        if (!arial_)
            GTEST_SKIP() << "neither Arial nor Liberation Sans is installed (scripts/install-deps.sh installs it)";
    }

    GlyphOutline Outline(char c) const
    {
        const std::optional<GlyphOutline> glyph = arial_->Outline(static_cast<char32_t>(c));
        EXPECT_TRUE(glyph.has_value()) << c;
        return glyph.value_or(GlyphOutline{});
    }

    std::shared_ptr<const OutlineFont> arial_;
};

TEST(FontCatalog, FindsFamiliesExactlyAndArialAsItsMetricTwin)
{
    const FontCatalog& system = CurrentFontCatalog();
    if (!system.HasFamily("Liberation Sans") || !system.HasFamily("DejaVu Sans"))
        GTEST_SKIP() << "fonts-liberation and fonts-dejavu-core are needed (scripts/install-deps.sh)";
    EXPECT_TRUE(system.HasFamily("Arial"));
    EXPECT_FALSE(system.HasFamily("arial")) << "names match with their case";
    EXPECT_FALSE(system.HasFamily("Liberation"));
    EXPECT_FALSE(system.HasFamily("No Such Family"));
    EXPECT_FALSE(system.HasFamily(""));
    EXPECT_FALSE(system.HasFamily(std::string(40, 'A'))) << "longer than a face name can be";

    // The regular face, not the bold, narrow or light ones of the family.
    const std::optional<FontFile> regular = system.FaceOf("DejaVu Sans", false);
    ASSERT_TRUE(regular);
    EXPECT_NE(regular->path.find("DejaVuSans.ttf"), std::string::npos) << regular->path;
    const std::optional<FontFile> italic = system.FaceOf("Liberation Sans", true);
    ASSERT_TRUE(italic);
    EXPECT_NE(italic->path.find("Italic"), std::string::npos) << italic->path;
    EXPECT_FALSE(italic->syntheticItalic) << "the family has an italic face of its own";
}

TEST(FontCatalog, AMissingFontFallsBackAndNoFontAtAllIsNoFailure)
{
    const FontFolder dejaVu({"DejaVu Sans"});
    if (!dejaVu.Catalog().HasFamily("DejaVu Sans"))
        GTEST_SKIP() << "fonts-dejavu-core is needed";
    EXPECT_FALSE(dejaVu.Catalog().HasFamily("Arial")) << "no twin in the folder either";
    EXPECT_FALSE(dejaVu.Catalog().FaceOf("Arial", false));
    const std::optional<FontFile> closest = dejaVu.Catalog().ClosestFaceOf("Arial", false);
    ASSERT_TRUE(closest) << "the text is still drawn, in what there is";
    EXPECT_NE(closest->path.find("DejaVuSans"), std::string::npos);
    const std::optional<FontFile> slanted = dejaVu.Catalog().FaceOf("DejaVu Sans", true);
    ASSERT_TRUE(slanted);
    EXPECT_TRUE(slanted->syntheticItalic) << "the folder has no oblique face";

    const FontFolder none({});
    EXPECT_TRUE(none.Catalog().Families().empty());
    EXPECT_FALSE(none.Catalog().ClosestFaceOf("Arial", false));
}

TEST_F(Glyphs, MetricsAreInEmUnits)
{
    // Arial's (and Liberation Sans's) A advances 1366 of 2048 units; H stands
    // 1409 high.
    const GlyphOutline a = Outline('A');
    EXPECT_NEAR(a.metrics.cellIncX, 1366.0f / 2048, 1e-5f);
    EXPECT_EQ(a.metrics.cellIncY, 0.0f);
    EXPECT_NEAR(Outline('H').metrics.blackBoxY, 1409.0f / 2048, 1e-3f);

    // The black box is the ink's box, its origin the box's upper-left corner.
    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
    for (const OutlineContour& contour : a.contours)
        for (const OutlinePoint& p : contour) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            bottom = std::min(bottom, p.y);
            top = std::max(top, p.y);
        }
    EXPECT_FLOAT_EQ(a.metrics.glyphOriginX, left);
    EXPECT_FLOAT_EQ(a.metrics.glyphOriginY, top);
    EXPECT_FLOAT_EQ(a.metrics.blackBoxX, right - left);
    EXPECT_FLOAT_EQ(a.metrics.blackBoxY, top - bottom);
    EXPECT_NEAR(bottom, 0.0f, 1e-6f) << "A stands on the baseline";

    const GlyphOutline space = Outline(' ');
    EXPECT_TRUE(space.contours.empty());
    EXPECT_NEAR(space.metrics.cellIncX, 569.0f / 2048, 1e-5f) << "a space has no ink but takes its room";
    EXPECT_EQ(space.metrics.blackBoxX, 0.0f);
}

TEST_F(Glyphs, LettersWithHolesKeepThemOpen)
{
    for (const char letter : {'O', 'A', 'B', '8', 'e', 'o', 'R', '0'}) {
        SCOPED_TRACE(std::string(1, letter));
        const GlyphOutline glyph = Outline(letter);
        const std::vector<OutlinePoint> face = TessellateOutline(glyph);
        ASSERT_FALSE(face.empty());

        // The outer contour turns one way, the holes the other: the filled
        // area is what the outer ones enclose less what the holes do.
        double filled = 0;
        int holes = 0;
        const double outerSign = TwiceSignedArea(glyph.contours[0]) > 0 ? 1 : -1;
        for (const OutlineContour& contour : glyph.contours) {
            const double area = TwiceSignedArea(contour) / 2;
            filled += area * outerSign;
            if (area * outerSign < 0) {
                ++holes;
                const OutlinePoint middle = test::MiddleOf(contour);
                ASSERT_TRUE(Inside(contour, middle.x, middle.y));
                EXPECT_FALSE(Covered(face, middle.x, middle.y)) << "hole at " << middle.x << ", " << middle.y;
            }
        }
        EXPECT_GE(holes, 1);
        EXPECT_EQ(holes, letter == 'B' || letter == '8' ? 2 : 1);
        EXPECT_NEAR(TrianglesArea(face), filled, 1e-4) << "every triangle counter-clockwise, no hole filled";
        for (std::size_t i = 0; i < face.size(); i += 3)
            ASSERT_GT(TwiceSignedArea({face[i], face[i + 1], face[i + 2]}), 0.0);
    }
}

TEST_F(Glyphs, CurvesAreSmoothAndCornersStaySharp)
{
    // Round letters turn by only a few degrees from one segment to the next,
    // and no point bulges from the chord of its neighbours by more than a
    // pixel would at 200 pixels to the em.
    for (const char letter : {'O', 'o', '0'}) {
        const GlyphOutline glyph = Outline(letter);
        double sharpest = 0, bulge = 0;
        std::size_t points = 0;
        for (const OutlineContour& c : glyph.contours) {
            points += c.size();
            for (std::size_t i = 0; i < c.size(); ++i) {
                const OutlinePoint& a = c[(i + c.size() - 1) % c.size()];
                const OutlinePoint& b = c[i];
                const OutlinePoint& d = c[(i + 1) % c.size()];
                const double turn = std::atan2(d.y - b.y, d.x - b.x) - std::atan2(b.y - a.y, b.x - a.x);
                sharpest = std::max(sharpest, std::abs(std::remainder(turn, 2 * std::numbers::pi)) * 180 / std::numbers::pi);
                const double chord = std::hypot(d.x - a.x, d.y - a.y);
                bulge = std::max(bulge, std::abs(TwiceSignedArea({a, b, d})) / chord);
            }
        }
        EXPECT_LT(sharpest, 20.0) << letter;
        EXPECT_LT(bulge, 1.0 / 200) << letter;
        EXPECT_LT(points, 400u) << letter << ": smooth without a flood of points";
    }
    // An H is its twelve corners and nothing else.
    const GlyphOutline h = Outline('H');
    ASSERT_EQ(h.contours.size(), 1u);
    EXPECT_EQ(h.contours[0].size(), 12u);
}

// The two corners of a wall quad at the front (z = 0).
std::pair<WallCorner, WallCorner> FrontEdge(const std::vector<WallCorner>& walls, std::size_t quad)
{
    std::vector<WallCorner> front;
    for (std::size_t k = 0; k < 4; ++k)
        if (walls[quad * 4 + k].position.z == 0.0f)
            front.push_back(walls[quad * 4 + k]);
    EXPECT_EQ(front.size(), 2u);
    return {front.at(0), front.at(1)};
}

TEST_F(Glyphs, WallsFaceOutwardsAndShadeSmoothlyAlongCurves)
{
    const float depth = 0.3f;
    for (const char letter : {'O', 'B', 'e', 'H'}) {
        SCOPED_TRACE(std::string(1, letter));
        const GlyphOutline glyph = Outline(letter);
        const ExtrudedGlyph solid = ExtrudeGlyph(glyph, depth);
        std::size_t edges = 0;
        for (const OutlineContour& c : glyph.contours)
            edges += c.size();
        ASSERT_EQ(solid.walls.size(), edges * 4) << "one quad per edge";

        for (std::size_t q = 0; q < edges; ++q) {
            const Vector3& a = solid.walls[q * 4].position;
            const Vector3& b = solid.walls[q * 4 + 1].position;
            const Vector3& c = solid.walls[q * 4 + 2].position;
            // The quad spans the depth and turns counter-clockwise seen from
            // outside: its own normal points where its corners' normals do.
            const Vector3 u = b - a;
            const Vector3 v = c - a;
            Vector3 geometric{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
            geometric.Normalise();
            EXPECT_GT(geometric.x * solid.walls[q * 4].normal.x + geometric.y * solid.walls[q * 4].normal.y, 0.5f);
            EXPECT_EQ(std::min({a.z, b.z, c.z}), -depth);
            EXPECT_EQ(geometric.z, 0.0f);

            // A small step out from the middle of the wall leaves the letter;
            // one in enters it.
            const auto [from, to] = FrontEdge(solid.walls, q);
            const float mx = (from.position.x + to.position.x) / 2;
            const float my = (from.position.y + to.position.y) / 2;
            const float step = 0.004f;
            EXPECT_FALSE(Covered(solid.face, mx + geometric.x * step, my + geometric.y * step)) << mx << ", " << my;
            EXPECT_TRUE(Covered(solid.face, mx - geometric.x * step, my - geometric.y * step)) << mx << ", " << my;
        }

        // Where two walls meet on a curve they share one normal; at the H's
        // corners each keeps its own, so every H wall is flat.
        std::size_t first = 0;
        int shared = 0, flat = 0;
        for (const OutlineContour& contour : glyph.contours) {
            for (std::size_t i = 0; i < contour.size(); ++i) {
                const auto [a1, b1] = FrontEdge(solid.walls, first + i);
                const auto [a2, b2] = FrontEdge(solid.walls, first + (i + 1) % contour.size());
                for (const WallCorner& x : {a1, b1})
                    for (const WallCorner& y : {a2, b2})
                        if (x.position == y.position)
                            shared += x.normal == y.normal;
                flat += a1.normal == b1.normal;
            }
            first += contour.size();
        }
        if (letter == 'H') {
            EXPECT_EQ(shared, 0);
            EXPECT_EQ(flat, static_cast<int>(edges));
        } else {
            EXPECT_GT(shared, static_cast<int>(edges) * 3 / 4) << "smooth along most of a round letter";
        }
    }
    EXPECT_TRUE(ExtrudeGlyph(Outline('O'), 0.0f).walls.empty()) << "a flat letter has no sides";
}

TEST(CodePage, BytesAreWesternWindowsCharactersAndUtf8ConvertsBothWays)
{
    EXPECT_EQ(CodePointOf1252('A'), U'A');
    EXPECT_EQ(CodePointOf1252(0x80), U'\u20AC');
    EXPECT_EQ(CodePointOf1252(0x93), U'\u201C');
    EXPECT_EQ(CodePointOf1252(0x81), U'\u0081') << "undefined slots stay controls";
    EXPECT_EQ(CodePointOf1252(0xE9), U'\u00E9');
    for (int byte = 0; byte < 256; ++byte) {
        // Every byte's character converts back to that byte.
        const char32_t c = CodePointOf1252(static_cast<std::uint8_t>(byte));
        std::string utf8;
        if (c < 0x80) {
            utf8 = std::string(1, static_cast<char>(c));
        } else if (c < 0x800) {
            utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        }
        EXPECT_EQ(Utf8To1252(utf8), std::string(1, static_cast<char>(byte))) << byte;
    }
    EXPECT_EQ(Utf8To1252("caf\xC3\xA9 \xE2\x82\xAC" "5"), "caf\xE9 \x80" "5");
    EXPECT_FALSE(Utf8To1252("\xE4\xB8\xAD")) << "a character the code page lacks";
    EXPECT_FALSE(Utf8To1252("\xC3")) << "cut short";
    EXPECT_FALSE(Utf8To1252("\xC0\x80")) << "overlong";
    EXPECT_FALSE(Utf8To1252("\xED\xA0\x80")) << "a surrogate";
    EXPECT_FALSE(Utf8To1252("\xFF"));
}

} // namespace
} // namespace zelvane
