// Our own triangles and lines of each primitive kind cover exactly the pixels
// GLU draws for it. The picking pass relies on it for spheres (a click on a
// sphere's edge picks what is drawn there), the wireframe lists are made from
// it, and the benchmark's baseline draws it.

#include "scene/PrimitiveGeometry.h"
#include "scene/PrimitiveLists.h"
#include "tests/scene/GLStage.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

constexpr int kSize = 160;

class Geometry : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(stage_.ok()) << stage_.Error();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2.4, 2.4, -2.4, 2.4, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // Tilted and turned, so every side of the shapes shows somewhere.
        glRotatef(35.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(-50.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(0.0f, 0.0f, -0.8f);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_CULL_FACE); // the facing must match as well
        glColor3f(1.0f, 1.0f, 1.0f);
    }

    // Which pixels `draw` sets.
    template <typename Draw>
    std::vector<bool> Mask(Draw draw)
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        const std::vector<std::uint8_t> pixels = stage_.Context().ReadPixels();
        std::vector<bool> mask(pixels.size() / 4);
        for (std::size_t i = 0; i < mask.size(); ++i)
            mask[i] = pixels[i * 4] != 0;
        return mask;
    }

    static void Points(GLenum mode, const std::vector<Vector3>& points)
    {
        glBegin(mode);
        for (const Vector3& p : points)
            glVertex3f(p.x, p.y, p.z);
        glEnd();
    }

    test::GLStage stage_{kSize, kSize};
};

int Count(const std::vector<bool>& mask)
{
    return static_cast<int>(std::count(mask.begin(), mask.end(), true));
}

int Differences(const std::vector<bool>& a, const std::vector<bool>& b)
{
    int differences = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        differences += a[i] != b[i];
    return differences;
}

TEST_F(Geometry, EveryKindsTrianglesAndLinesCoverWhatItsListsDraw)
{
    for (const ObjectKind kind : {ObjectKind::Box, ObjectKind::Sphere, ObjectKind::Cylinder, ObjectKind::Rod,
                                  ObjectKind::Cone, ObjectKind::Disk, ObjectKind::Plane}) {
        SCOPED_TRACE(std::string(DefaultNameOf(kind)));
        const KindLists lists = PrimitiveLists::Of(kind);
        const PrimitiveShape shape = ShapeOf(kind);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        const std::vector<bool> solid = Mask([&] { glCallList(lists.solid); });
        const std::vector<bool> ours = Mask([&] { Points(GL_TRIANGLES, shape.solid.positions); });
        EXPECT_GT(Count(solid), 100);
        EXPECT_EQ(Differences(solid, ours), 0);

        // The quadric kinds' wireframe lists are our own lines: against GLU's.
        const bool quadric = kind != ObjectKind::Box && kind != ObjectKind::Plane;
        const std::vector<bool> wire = Mask([&] { glCallList(lists.wire); });
        const std::vector<bool> reference = quadric ? Mask([&] { PrimitiveLists::DrawWithGlu(kind, GLU_LINE); })
                                                    : Mask([&] { Points(GL_LINES, shape.wire); });
        EXPECT_GT(Count(wire), 20);
        EXPECT_EQ(Differences(wire, reference), 0);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Geometry, TheSpheresPickingListCoversWhatItsSolidListDraws)
{
    const std::vector<bool> solid = Mask([&] { glCallList(PrimitiveLists::Of(ObjectKind::Sphere).solid); });
    EXPECT_EQ(Differences(solid, Mask([&] { glCallList(PrimitiveLists::SpherePickingSolid()); })), 0);
}

TEST_F(Geometry, ListsAreBuiltOncePerKindAndAgainInANewContext)
{
    const KindLists first = PrimitiveLists::Of(ObjectKind::Cone);
    const int built = PrimitiveLists::BuiltCount();
    EXPECT_EQ(PrimitiveLists::Of(ObjectKind::Cone).solid, first.solid);
    EXPECT_EQ(PrimitiveLists::Of(ObjectKind::Floor).solid, PrimitiveLists::Of(ObjectKind::Plane).solid);
    EXPECT_EQ(PrimitiveLists::BuiltCount(), built + 2) << "the plane's two lists, shared by the floor";
    EXPECT_TRUE(glIsList(first.solid));

    // Another context gets lists of its own.
    test::GLStage other(8, 8);
    ASSERT_TRUE(other.ok()) << other.Error();
    const KindLists there = PrimitiveLists::Of(ObjectKind::Cone);
    EXPECT_NE(there.solid, 0u);
    EXPECT_TRUE(glIsList(there.solid));
    EXPECT_EQ(PrimitiveLists::BuiltCount(), 2);
}

} // namespace
} // namespace zelvane
