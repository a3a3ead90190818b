#include "scene/text/OutlineTessellator.h"

#include <GL/glu.h>

#include <array>
#include <deque>

namespace zelvane {

namespace {

using Corner = std::array<GLdouble, 3>;

struct Tessellation {
    // The tessellator keeps pointers to the corners: a deque never moves them.
    std::deque<Corner> corners;
    std::vector<OutlinePoint> triangles;
    bool failed = false;
};

void GLAPIENTRY OnVertex(void* vertex, void* data)
{
    const Corner& c = *static_cast<const Corner*>(vertex);
    static_cast<Tessellation*>(data)->triangles.push_back({static_cast<float>(c[0]), static_cast<float>(c[1])});
}

void GLAPIENTRY OnCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data)
{
    Tessellation& t = *static_cast<Tessellation*>(data);
    t.corners.push_back({coords[0], coords[1], 0.0});
    *out = &t.corners.back();
}

// Present only so that the tessellator gives plain triangles, never fans or
// strips.
void GLAPIENTRY OnEdgeFlag(GLboolean, void*) {}

void GLAPIENTRY OnError(GLenum, void* data)
{
    static_cast<Tessellation*>(data)->failed = true;
}

float TwiceArea(const OutlinePoint& a, const OutlinePoint& b, const OutlinePoint& c)
{
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}

} // namespace

std::vector<OutlinePoint> TessellateOutline(const GlyphOutline& glyph)
{
    if (glyph.contours.empty())
        return {};
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return {};
    Tessellation t;
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&OnVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&OnCombine));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(&OnEdgeFlag));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(&OnError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, glyph.evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessBeginPolygon(tess, &t);
    for (const OutlineContour& contour : glyph.contours) {
        gluTessBeginContour(tess);
        for (const OutlinePoint& p : contour) {
            t.corners.push_back({p.x, p.y, 0.0});
            gluTessVertex(tess, t.corners.back().data(), &t.corners.back());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    if (t.failed || t.triangles.size() % 3 != 0)
        return {};

    std::vector<OutlinePoint> triangles;
    triangles.reserve(t.triangles.size());
    for (std::size_t i = 0; i < t.triangles.size(); i += 3) {
        const OutlinePoint& a = t.triangles[i];
        const OutlinePoint& b = t.triangles[i + 1];
        const OutlinePoint& c = t.triangles[i + 2];
        const float area = TwiceArea(a, b, c);
        if (area > 0.0f)
            triangles.insert(triangles.end(), {a, b, c});
        else if (area < 0.0f)
            triangles.insert(triangles.end(), {a, c, b});
    }
    return triangles;
}

} // namespace zelvane
