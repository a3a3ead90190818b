// Scene objects as data: the defaults of every kind, copying, hiding, scaling
// planes, turning, and textures that do not load. No drawing here.

#include "scene/COGLBox.h"
#include "scene/COGLCone.h"
#include "scene/COGLCylinder.h"
#include "scene/COGLFloor.h"
#include "scene/COGLPlane.h"
#include "scene/COGLSphere.h"
#include "scene/COGLTexture2D.h"
#include "scene/ObjectFactory.h"
#include "tests/scene/GLStage.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

struct KindDefaults {
    ObjectKind kind;
    const char* name;
    Vector3 scale;
    Vector3 position;
    Vector3 extent;
    // Where the object's +z axis points after its default turn.
    Vector3 facing;
};

TEST(SceneObjects, EveryKindHasItsDefaults)
{
    const KindDefaults table[] = {
        {ObjectKind::Plane, "Plane", {3, 3, 1}, {0, 0, 0}, {1, 1, 0}, {0, 0, 1}},
        {ObjectKind::Floor, "Floor", {7.5f, 7.5f, 1}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}},
        {ObjectKind::Box, "Box", {0.5f, 0.5f, 0.5f}, {0, 0.5f, 0}, {1, 1, 1}, {0, 0, 1}},
        {ObjectKind::Sphere, "Sphere", {1, 1, 1}, {0, 0, 0}, {1, 1, 1}, {0, 0, 1}},
        {ObjectKind::RightWall, "Right Wall", {7.5f, 1.5f, 1}, {7.5f, 1.5f, 0}, {1, 1, 0}, {-1, 0, 0}},
        {ObjectKind::LeftWall, "Left Wall", {7.5f, 1.5f, 1}, {0, 1.5f, -7.5f}, {1, 1, 0}, {0, 0, 1}},
        {ObjectKind::Ceiling, "Ceiling", {3, 3, 1}, {0, 6, 0}, {1, 1, 0}, {0, -1, 0}},
        {ObjectKind::Rod, "Rod", {1, 1, 1}, {0, 0, 0}, {0.1f, 0.1f, 1}, {0, 0, 1}},
        {ObjectKind::Cylinder, "Cylinder", {1, 1, 1}, {0, 0, 0}, {0.1f, 0.1f, 1}, {0, 0, 1}},
        {ObjectKind::Cone, "Cone", {1, 1, 1}, {0, 0, 0}, {0.5f, 0.5f, 1}, {0, 0, 1}},
        {ObjectKind::Disk, "Disk", {3, 3, 1}, {0, 0, 0}, {1, 1, 0}, {0, 0, 1}},
        {ObjectKind::Billboard, "Billboard", {1, 1, 1}, {0, 0, 0}, {1, 1, 0}, {0, 0, 1}},
    };
    for (const KindDefaults& expected : table) {
        const std::unique_ptr<COGLObject> object = CreateObjectOfKind(expected.kind);
        ASSERT_NE(object, nullptr);
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(object->Kind(), expected.kind);
        EXPECT_EQ(object->Name(), expected.name);
        EXPECT_EQ(object->Scale(), expected.scale);
        EXPECT_EQ(object->Position(), expected.position);
        EXPECT_EQ(object->Extent(), expected.extent);
        const Vector3 facing = object->Orientation().ToMatrix().TransformDirection({0, 0, 1});
        EXPECT_NEAR(facing.x, expected.facing.x, 1e-5f);
        EXPECT_NEAR(facing.y, expected.facing.y, 1e-5f);
        EXPECT_NEAR(facing.z, expected.facing.z, 1e-5f);
        EXPECT_TRUE(object->IsVisible());
        EXPECT_TRUE(object->IsPickable());
        EXPECT_EQ(object->TextureEnvMode(), static_cast<GLenum>(GL_MODULATE));
        EXPECT_EQ(object->SpareWord(), 1);
    }
    const std::unique_ptr<COGLObject> text = CreateObjectOfKind(ObjectKind::Text);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Kind(), ObjectKind::Text);
    EXPECT_EQ(text->Name(), "Text");
    EXPECT_EQ(CreateObjectOfKind(ObjectKind::Mesh), nullptr);
    EXPECT_FALSE(KindFromCode(12).has_value());
    EXPECT_FALSE(KindFromCode(15).has_value());
    EXPECT_EQ(KindFromCode(13), ObjectKind::Billboard);
}

TEST(SceneObjects, EveryObjectTakesAFreshIdAndCopiesAreNamedAfterTheirSource)
{
    COGLBox box;
    box.SetDiffuse(0.1f, 0.2f, 0.3f, 0.4f);
    box.SetPosition(1, 2, 3);
    box.SetScale(4, 5, 6);
    box.RotateY(30);
    box.SetTransparent(true);
    box.SetMarked();
    box.SetPickable(false);
    box.SetTextureOffset({0.5f, 0.25f, 0});

    COGLBox copy;
    copy.CopyFrom(box);
    EXPECT_EQ(copy.Name(), "Copy of Box");
    EXPECT_GT(copy.Id(), box.Id());
    EXPECT_EQ(copy.DiffuseColor(), (ColourRGBA{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(copy.Position(), box.Position());
    EXPECT_EQ(copy.Scale(), box.Scale());
    EXPECT_EQ(copy.Orientation(), box.Orientation());
    EXPECT_TRUE(copy.IsTransparent());
    EXPECT_TRUE(copy.IsMarked());
    EXPECT_TRUE(copy.IsPickable()) << "pickable is not copied";
    EXPECT_EQ(copy.TextureOffset(), box.TextureOffset());

    COGLBox again;
    again.CopyFrom(copy);
    EXPECT_EQ(again.Name(), "Copy of Copy of Box");

    // A plane copied from a box keeps its scale z at 1.
    COGLPlane plane;
    plane.CopyFrom(box);
    EXPECT_EQ(plane.Scale(), (Vector3{4, 5, 1}));
}

TEST(SceneObjects, HidingSetsBit31OfTheIdAndShowingRestoresIt)
{
    COGLSphere sphere;
    const std::uint32_t id = sphere.Id();
    sphere.Hide();
    EXPECT_FALSE(sphere.IsVisible());
    EXPECT_EQ(sphere.Id(), id | COGLObject::kHiddenBit);
    sphere.SetVisible(true);
    EXPECT_EQ(sphere.Id(), id);

    // The copy of a hidden object is hidden from picking as well.
    sphere.Hide();
    COGLSphere copy;
    copy.CopyFrom(sphere);
    EXPECT_FALSE(copy.IsVisible());
    EXPECT_NE(copy.Id() & COGLObject::kHiddenBit, 0u);
}

TEST(SceneObjects, PlanesKeepScaleZAtOne)
{
    COGLPlane plane;
    plane.SetScale(2, 3, 4);
    EXPECT_EQ(plane.Scale(), (Vector3{2, 3, 1}));
    EXPECT_EQ(plane.GetScale(), (Vector3{2, 3, 0}));
    plane.SetScaleZ(9);
    EXPECT_EQ(plane.Scale().z, 1.0f);

    COGLBox box;
    box.SetScaleZ(9);
    EXPECT_EQ(box.GetScale(), (Vector3{0.5f, 0.5f, 9}));
}

TEST(SceneObjects, TurnsWrapAndComposeAfterTheCurrentOrientation)
{
    COGLBox box;
    box.RotateAxisAngle({0, 0, 1}, 720);
    EXPECT_EQ(box.Orientation(), Quaternion{});

    COGLBox a, b;
    a.RotateX(-30);
    b.RotateX(330);
    EXPECT_EQ(a.Orientation(), b.Orientation());

    // A turn about x, then one about y: the second turns about the object's own
    // y axis, as the first has left it.
    COGLBox turned;
    turned.RotateX(90);
    turned.RotateY(90);
    const Vector3 z = turned.Orientation().ToMatrix().TransformDirection({0, 0, 1});
    const Vector3 expected =
        Quaternion::FromAxisAngle({1, 0, 0}, 90).ToMatrix().TransformDirection(
            Quaternion::FromAxisAngle({0, 1, 0}, 90).ToMatrix().TransformDirection({0, 0, 1}));
    EXPECT_NEAR(z.x, expected.x, 1e-5f);
    EXPECT_NEAR(z.y, expected.y, 1e-5f);
    EXPECT_NEAR(z.z, expected.z, 1e-5f);
}

TEST(SceneObjects, ATextureThatDoesNotLoadIsNotAttached)
{
    test::RecordedMessages messages;
    COGLTexture2D missing;
    missing.SetSource("/nonexistent/folder/Marble.bmp", 0);
    COGLBox box;
    box.SetTexture(&missing);
    EXPECT_EQ(box.Texture(), nullptr);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Could not load Bitmap."});
    box.SetTexture(nullptr);
    EXPECT_EQ(box.Texture(), nullptr);
}

} // namespace
} // namespace zelvane
