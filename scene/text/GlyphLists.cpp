#include "scene/text/GlyphLists.h"

namespace zelvane {

namespace {

void Advance(const GlyphMetrics& metrics)
{
    glTranslatef(metrics.cellIncX, metrics.cellIncY, 0.0f);
}

void DrawSolid(const ExtrudedGlyph& solid)
{
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (const OutlinePoint& p : solid.face)
        glVertex3f(p.x, p.y, 0.0f);
    if (solid.depth > 0.0f) {
        // The back face: the front's triangles turned round, so they face −z.
        glNormal3f(0.0f, 0.0f, -1.0f);
        for (std::size_t i = solid.face.size(); i > 0; --i)
            glVertex3f(solid.face[i - 1].x, solid.face[i - 1].y, -solid.depth);
    }
    glEnd();
    if (solid.walls.empty())
        return;
    glBegin(GL_QUADS);
    for (const WallCorner& corner : solid.walls) {
        glNormal3f(corner.normal.x, corner.normal.y, corner.normal.z);
        glVertex3f(corner.position.x, corner.position.y, corner.position.z);
    }
    glEnd();
}

void DrawOutline(const GlyphOutline& glyph)
{
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (const OutlineContour& contour : glyph.contours) {
        glBegin(GL_LINE_LOOP);
        for (const OutlinePoint& p : contour)
            glVertex3f(p.x, p.y, 0.0f);
        glEnd();
    }
}

} // namespace

void CompileGlyphLists(const GlyphOutline& glyph, const ExtrudedGlyph& solid, GLuint polygons, GLuint lines)
{
    glNewList(polygons, GL_COMPILE);
    DrawSolid(solid);
    Advance(glyph.metrics);
    glEndList();

    glNewList(lines, GL_COMPILE);
    DrawOutline(glyph);
    Advance(glyph.metrics);
    glEndList();
}

} // namespace zelvane
