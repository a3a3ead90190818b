// Picking through the viewport in OpenGL's selection mode, on Mesa's software
// rasteriser: the nearer of two objects, never a fixed plane or a hidden
// object, spheres and light markers without the select-mode sphere fault.

#include "scene/COGLBox.h"
#include "scene/COGLPointLight.h"
#include "scene/COGLScene.h"
#include "scene/COGLSphere.h"
#include "scene/COGLViewport3D.h"
#include "scene/ScenePicker.h"
#include "tests/scene/GLStage.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 180;

class Pick : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(stage_.ok()) << stage_.Error();
        viewport_.SetRectangle(0, 0, kWidth, kHeight);
        scene_.CreateDefaults(test::TestMapsFolder());
    }

    PickResult At(const Vector3& world)
    {
        stage_.Frame(viewport_, scene_);
        const test::ScreenPoint p = test::ToScreen(viewport_, world);
        return PickAt(viewport_, scene_, p.x, p.y);
    }

    // The world direction towards the viewer, along which points share a pixel.
    Vector3 TowardsViewer() const
    {
        Matrix4 inverse = viewport_.Camera().ViewMatrix();
        inverse.Invert();
        return inverse.TransformDirection({0, 0, 1});
    }

    COGLObject& AddBox(const Vector3& at)
    {
        COGLObject& box = scene_.AddObject(std::make_unique<COGLBox>());
        box.SetPosition(at.x, at.y, at.z);
        return box;
    }

    test::GLStage stage_{kWidth, kHeight};
    COGLViewport3D viewport_;
    COGLScene scene_;
};

TEST_F(Pick, ChoosesTheNearerOfTwoOverlappingObjectsWhateverTheirOrder)
{
    const Vector3 far{-1, 0.5f, -1};
    const Vector3 near = far + TowardsViewer() * 3.0f;
    COGLObject& first = AddBox(near);
    COGLObject& second = AddBox(far);
    PickResult picked = At(far);
    EXPECT_EQ(picked.object, &first);
    EXPECT_EQ(scene_.SelectedObject(), nullptr) << "picking finds; selecting is the caller's";

    first.SetPosition(far.x, far.y, far.z);
    second.SetPosition(near.x, near.y, near.z);
    picked = At(far);
    EXPECT_EQ(picked.object, &second);

    // Hidden, the nearer one is passed over for the one behind it.
    second.Hide();
    EXPECT_EQ(At(far).object, &first);
}

TEST_F(Pick, NeverChoosesAFixedPlane)
{
    COGLObject& box = AddBox({3, 0.5f, 3});
    const PickResult floor = At({-4, 0, 2});
    EXPECT_FALSE(floor.name.has_value()) << "the floor and walls are not drawn for picking";
    EXPECT_EQ(floor.object, nullptr);
    EXPECT_EQ(At({-2, 1.5f, -7.5f}).object, nullptr);
    EXPECT_EQ(At({3, 0.5f, 3}).object, &box);
}

TEST_F(Pick, PicksASphereAndALightMarkerWithoutTheSelectModeFault)
{
    COGLObject& sphere = scene_.AddObject(std::make_unique<COGLSphere>());
    sphere.SetPosition(1, 1, 1);
    PickResult picked = At({1, 1, 1});
    EXPECT_EQ(picked.object, &sphere);
    // Near its edge too: the picking shape is the drawn one.
    picked = At(Vector3{1, 1, 1} + Vector3{0.7f, 0.7f, 0.0f});
    EXPECT_EQ(picked.object, &sphere);

    // The marker of the light at (9, 3, 0): named, but not an object the scene selects.
    const COGLLight& light = *scene_.Lights()[2];
    picked = At(light.Marker()->Position());
    ASSERT_TRUE(picked.name.has_value());
    EXPECT_EQ(*picked.name, light.Marker()->Id());
    EXPECT_EQ(picked.light, &light);
    EXPECT_EQ(picked.object, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Pick, ManyObjectsUnderOnePointStillSelectOne)
{
    // 300 boxes at one place make 1200 words of hit records, past the 512 of
    // a first selection buffer.
    for (int i = 0; i < 300; ++i)
        AddBox({0, 0.5f, 0});
    const PickResult picked = At({0, 0.5f, 0});
    EXPECT_NE(picked.object, nullptr);
}

TEST(NearestHitName, TakesTheSmallestMinimumDepthAndTheFirstOfEqualOnes)
{
    // Records: names, minimum depth, maximum depth, the names.
    const std::vector<GLuint> buffer = {1, 0x80000000u, 0xF0000000u, 11, //
                                        2, 0x40000000u, 0x50000000u, 12, 99,
                                        1, 0x40000000u, 0x40000000u, 13, //
                                        0, 0x10000000u, 0x10000000u};    // no names: passed over
    EXPECT_EQ(NearestHitName(buffer, 4), 12u);
    EXPECT_EQ(NearestHitName(buffer, 1), 11u);
    EXPECT_FALSE(NearestHitName(buffer, 0).has_value());
    // Records that claim more than the buffer holds end the walk.
    const std::vector<GLuint> lying = {1, 0x80000000u, 0x80000000u, 21, 50, 0, 0};
    EXPECT_EQ(NearestHitName(lying, 2), 21u);
    EXPECT_FALSE(NearestHitName(std::vector<GLuint>{1, 5}, 1).has_value());
}

} // namespace
} // namespace zelvane
