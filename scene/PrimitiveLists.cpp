#include "scene/PrimitiveLists.h"

#include "scene/ActiveGLContext.h"
#include "scene/PrimitiveGeometry.h"
#include "scene/PrimitiveShapes.h"

#include <array>
#include <cstdint>

namespace zelvane {

namespace {

using namespace shapes;

enum class ListSet { Box, Sphere, Cylinder, Rod, Cone, Plane, Disk, PlaneGrid, SpherePicking, Count };

struct Cache {
    std::uint64_t generation = 0;
    bool started = false;
    std::array<KindLists, static_cast<std::size_t>(ListSet::Count)> sets{};
    int built = 0;
};

Cache& TheCache()
{
    static Cache cache;
    // Lists of another context mean nothing here; they went with it.
    if (!cache.started || cache.generation != ActiveGLContextGeneration()) {
        cache = Cache{};
        cache.started = true;
        cache.generation = ActiveGLContextGeneration();
    }
    return cache;
}

void Quad(const float (&normal)[3], const float (&corners)[4][5], GLenum mode, bool textured)
{
    glBegin(mode);
    glNormal3fv(normal);
    for (const auto& c : corners) {
        if (textured)
            glTexCoord2f(c[3], c[4]);
        glVertex3f(c[0], c[1], c[2]);
    }
    glEnd();
}

// x, y, z, s, t of each corner, per face, with the face's normal.
struct BoxFace {
    float normal[3];
    float corners[4][5];
};
constexpr BoxFace kBoxFaces[6] = {
    {{0, 0, 1}, {{1, 1, 1, 1, 1}, {-1, 1, 1, 0, 1}, {-1, -1, 1, 0, 0}, {1, -1, 1, 1, 0}}},
    {{0, 0, -1}, {{1, 1, -1, 1, 1}, {1, -1, -1, 1, 0}, {-1, -1, -1, 0, 0}, {-1, 1, -1, 0, 1}}},
    {{-1, 0, 0}, {{-1, 1, 1, 1, 1}, {-1, 1, -1, 0, 1}, {-1, -1, -1, 0, 0}, {-1, -1, 1, 1, 0}}},
    {{1, 0, 0}, {{1, 1, 1, 0, 1}, {1, -1, 1, 0, 0}, {1, -1, -1, 1, 0}, {1, 1, -1, 1, 1}}},
    {{0, 1, 0}, {{-1, 1, -1, 0, 0}, {-1, 1, 1, 0, 1}, {1, 1, 1, 1, 1}, {1, 1, -1, 1, 0}}},
    {{0, -1, 0}, {{-1, -1, -1, 0, 0}, {1, -1, -1, 1, 0}, {1, -1, 1, 1, 1}, {-1, -1, 1, 0, 1}}},
};

constexpr float kPlaneNormal[3] = {0, 0, 1};
constexpr float kPlaneCorners[4][5] = {{1, 1, 0, 1, 1}, {-1, 1, 0, 0, 1}, {-1, -1, 0, 0, 0}, {1, -1, 0, 1, 0}};

// Compiles what `draw` issues into a new list; 0 when no list could be made.
template <typename Draw>
GLuint Compile(Cache& cache, Draw draw)
{
    const GLuint list = glGenLists(1);
    if (list == 0)
        return 0;
    glNewList(list, GL_COMPILE);
    draw();
    glEndList();
    ++cache.built;
    return list;
}

void DrawBox(GLenum mode, bool textured)
{
    for (const BoxFace& face : kBoxFaces)
        Quad(face.normal, face.corners, mode, textured);
}

// The cylinder's and the cone's caps: the bottom one turned to face −z, the
// top one at the tube's far end. Pushed and popped so the list leaves the
// matrix as it found it.
void DrawCaps(GLUquadric* quadric, float radius, bool bottom)
{
    glPushMatrix();
    if (bottom) {
        glPushMatrix();
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
        gluDisk(quadric, 0.0, radius, kTubeSlices, 1);
        glPopMatrix();
    }
    glTranslatef(0.0f, 0.0f, kTubeHeight);
    gluDisk(quadric, 0.0, radius, kTubeSlices, 1);
    glPopMatrix();
}

// One batch of line segments from our own geometry.
void DrawLines(const LineSegments& lines)
{
    glBegin(GL_LINES);
    for (const Vector3& p : lines)
        glVertex3f(p.x, p.y, p.z);
    glEnd();
}

// The quadric kinds: GLU's filled shape as the solid list; as the wireframe
// list GLU's lines from our own geometry in one batch (the same pixels, see
// PrimitiveGeometry.h), which Mesa replays many times faster than GLU's
// strips of two points each.
KindLists CompileQuadric(Cache& cache, ObjectKind kind)
{
    const LineSegments lines = ShapeOf(kind).wire;
    return {Compile(cache, [&] { PrimitiveLists::DrawWithGlu(kind, GLU_FILL); }),
            Compile(cache, [&] { DrawLines(lines); })};
}

KindLists Build(Cache& cache, ListSet set)
{
    switch (set) {
    case ListSet::Box:
        return {Compile(cache, [] { DrawBox(GL_QUADS, true); }), Compile(cache, [] { DrawBox(GL_LINE_LOOP, false); })};
    case ListSet::Plane:
        return {Compile(cache, [] { Quad(kPlaneNormal, kPlaneCorners, GL_QUADS, true); }),
                Compile(cache, [] { Quad(kPlaneNormal, kPlaneCorners, GL_LINE_LOOP, false); })};
    case ListSet::Sphere:
        return CompileQuadric(cache, ObjectKind::Sphere);
    case ListSet::Rod:
        return CompileQuadric(cache, ObjectKind::Rod);
    case ListSet::Cylinder:
        return CompileQuadric(cache, ObjectKind::Cylinder);
    case ListSet::Cone:
        return CompileQuadric(cache, ObjectKind::Cone);
    case ListSet::Disk:
        return CompileQuadric(cache, ObjectKind::Disk);
    case ListSet::PlaneGrid:
        return {Compile(cache,
                        [] {
                            glNormal3fv(kPlaneNormal);
                            const float step = 1.0f / kGridHalfCells;
                            for (int j = -kGridHalfCells; j < kGridHalfCells; ++j) {
                                glBegin(GL_TRIANGLE_STRIP);
                                for (int i = -kGridHalfCells; i <= kGridHalfCells; ++i) {
                                    glVertex2f(static_cast<float>(i) * step, static_cast<float>(j + 1) * step);
                                    glVertex2f(static_cast<float>(i) * step, static_cast<float>(j) * step);
                                }
                                glEnd();
                            }
                        }),
                0};
    case ListSet::SpherePicking: {
        const PrimitiveMesh triangles = SphereTriangles(kSphereSlices, kSphereStacks);
        return {Compile(cache,
                        [&] {
                            glBegin(GL_TRIANGLES);
                            for (const Vector3& p : triangles.positions)
                                glVertex3f(p.x, p.y, p.z);
                            glEnd();
                        }),
                0};
    }
    case ListSet::Count:
        break;
    }
    return {};
}

KindLists ListsOf(ListSet set)
{
    Cache& cache = TheCache();
    KindLists& lists = cache.sets[static_cast<std::size_t>(set)];
    if (lists.solid == 0)
        lists = Build(cache, set);
    return lists;
}

} // namespace

KindLists PrimitiveLists::Of(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Box:
        return ListsOf(ListSet::Box);
    case ObjectKind::Sphere:
        return ListsOf(ListSet::Sphere);
    case ObjectKind::Cylinder:
        return ListsOf(ListSet::Cylinder);
    case ObjectKind::Rod:
        return ListsOf(ListSet::Rod);
    case ObjectKind::Cone:
        return ListsOf(ListSet::Cone);
    case ObjectKind::Disk:
        return ListsOf(ListSet::Disk);
    case ObjectKind::Plane:
    case ObjectKind::Floor:
    case ObjectKind::RightWall:
    case ObjectKind::LeftWall:
    case ObjectKind::Ceiling:
    case ObjectKind::Billboard:
        return ListsOf(ListSet::Plane);
    case ObjectKind::Text:
    case ObjectKind::Mesh:
        break;
    }
    return {};
}

GLuint PrimitiveLists::PlaneGrid()
{
    return ListsOf(ListSet::PlaneGrid).solid;
}

GLuint PrimitiveLists::SpherePickingSolid()
{
    return ListsOf(ListSet::SpherePicking).solid;
}

void PrimitiveLists::DrawWithGlu(ObjectKind kind, GLenum style)
{
    GLUquadric* quadric = Quadric();
    gluQuadricDrawStyle(quadric, style);
    switch (kind) {
    case ObjectKind::Sphere:
        gluSphere(quadric, kSphereRadius, kSphereSlices, kSphereStacks);
        break;
    case ObjectKind::Rod:
        gluCylinder(quadric, kTubeRadius, kTubeRadius, kTubeHeight, kTubeSlices, 1);
        break;
    case ObjectKind::Cylinder:
        gluCylinder(quadric, kTubeRadius, kTubeRadius, kTubeHeight, kTubeSlices, 1);
        DrawCaps(quadric, kTubeRadius, true);
        break;
    case ObjectKind::Cone:
        gluCylinder(quadric, 0.0, kConeRadius, kTubeHeight, kTubeSlices, 1);
        DrawCaps(quadric, kConeRadius, false);
        break;
    case ObjectKind::Disk:
        gluDisk(quadric, 0.0, kDiskRadius, kDiskSlices, 1);
        break;
    default:
        break;
    }
    gluQuadricDrawStyle(quadric, GLU_FILL);
}

GLUquadric* PrimitiveLists::Quadric()
{
    static GLUquadric* const quadric = [] {
        GLUquadric* q = gluNewQuadric();
        gluQuadricTexture(q, GL_TRUE);
        gluQuadricNormals(q, GLU_SMOOTH);
        return q;
    }();
    return quadric;
}

int PrimitiveLists::BuiltCount()
{
    return TheCache().built;
}

} // namespace zelvane
