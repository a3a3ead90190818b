// The scene and its lights as data: the back-to-front order, selection by
// picking name, removal, textures by index, the eight light slots and the
// light record. No drawing here.

#include "scene/BackToFront.h"
#include "scene/COGLBox.h"
#include "scene/COGLPointLight.h"
#include "scene/COGLScene.h"
#include "scene/COGLSphere.h"
#include "scene/LightSlots.h"
#include "tests/scene/GLStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace zelvane {
namespace {

TEST(BackToFront, FollowsTheExchangeSortOnTiesAndSortsDistinctDistancesFarthestFirst)
{
    // P and A at 3, Q at 9: Q first, and A passes P when P is swapped out.
    const std::vector<float> tied = {3, 3, 9};
    EXPECT_EQ(BackToFrontOrder(tied), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(BackToFrontOrder(std::vector<float>{5, 1, 4, 2}), (std::vector<std::size_t>{0, 2, 3, 1}));
    EXPECT_TRUE(BackToFrontOrder(std::vector<float>{}).empty());

    // Against the exchange sort itself on many random lists, ties and all:
    // short ones, and long ones with few distances, where runs of ties are
    // turned many times over.
    std::mt19937 random(7);
    for (int round = 0; round < 600; ++round) {
        std::vector<float> distances(1 + random() % (round < 200 ? 12 : 400));
        const unsigned spread = round % 3 == 0 ? 1000 : round % 3 == 1 ? 5 : 2 + random() % 40;
        for (float& d : distances)
            d = static_cast<float>(random() % spread);
        std::vector<std::size_t> expected(distances.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = i;
        for (std::size_t i = 0; i + 1 < expected.size(); ++i)
            for (std::size_t j = i; j < expected.size(); ++j)
                if (distances[expected[i]] < distances[expected[j]])
                    std::swap(expected[i], expected[j]);
        ASSERT_EQ(BackToFrontOrder(distances), expected) << "round " << round;
    }
    // A NaN distance never compares, so it stays where the exchange sort leaves it.
    const std::vector<float> broken = {1, std::nanf(""), 2};
    EXPECT_EQ(BackToFrontOrder(broken), (std::vector<std::size_t>{2, 1, 0}));
}

TEST(Scene, SelectsOnlyItsOwnPickableObjectsById)
{
    COGLScene scene;
    scene.CreateDefaults("/nonexistent/");
    COGLObject& box = scene.AddObject(std::make_unique<COGLBox>());
    COGLObject& sphere = scene.AddObject(std::make_unique<COGLSphere>());
    EXPECT_EQ(scene.SelectObjectById(sphere.Id()), &sphere);
    EXPECT_EQ(scene.SelectedObject(), &sphere);

    // The fixed planes have ids but are never selected; nor is a light's marker.
    EXPECT_EQ(scene.SelectObjectById(scene.FloorPlane()->Id()), nullptr);
    EXPECT_EQ(scene.SelectedObject(), nullptr);
    EXPECT_EQ(scene.SelectObjectById(scene.Lights()[0]->Marker()->Id()), nullptr);

    box.SetPickable(false);
    EXPECT_EQ(scene.SelectObjectById(box.Id()), nullptr);
    box.SetPickable(true);
    box.Hide();
    EXPECT_EQ(scene.SelectObjectById(box.Id() & ~COGLObject::kHiddenBit), nullptr);
    EXPECT_EQ(scene.SelectObjectById(0x7FFFFFFF), nullptr);
}

TEST(Scene, RemovingAnObjectClearsItsSelectionAndForeignObjectsAreRefused)
{
    COGLScene scene;
    COGLObject& box = scene.AddObject(std::make_unique<COGLBox>());
    scene.SetSelectedObject(&box);
    COGLBox stranger;
    EXPECT_FALSE(scene.RemoveObject(&stranger));
    EXPECT_EQ(scene.Objects().size(), 1u);
    EXPECT_TRUE(scene.RemoveObject(&box));
    EXPECT_EQ(scene.SelectedObject(), nullptr);
    EXPECT_TRUE(scene.Objects().empty());
}

TEST(Scene, TexturesAreGivenByIndexAndClearingLeavesNoObjectWithADeletedOne)
{
    test::RecordedMessages messages;
    COGLScene scene;
    COGLObject& box = scene.AddObject(std::make_unique<COGLBox>());
    // A texture whose load failed counts as loaded from then on (with no GL name).
    COGLTexture2D& texture = scene.AddTexture(std::make_unique<COGLTexture2D>());
    texture.SetSource("/nonexistent/Stone.bmp", 0);
    texture.IsLoaded();
    scene.SetObjectTextureByIndex(box, -1);
    scene.SetObjectTextureByIndex(box, 1);
    EXPECT_EQ(box.Texture(), nullptr);
    scene.SetObjectTextureByIndex(box, 0);
    EXPECT_EQ(box.Texture(), &texture);

    scene.DeleteAllTextures();
    EXPECT_EQ(box.Texture(), nullptr);
    EXPECT_TRUE(scene.Textures().empty());
    scene.ClearScene();
    EXPECT_TRUE(scene.Objects().empty());
}

TEST(Scene, DefaultsAreThreePlanesAndThreeLightsWithTheirTextures)
{
    test::RecordedMessages messages;
    COGLScene scene;
    scene.CreateDefaults(test::TestMapsFolder());
    EXPECT_TRUE(messages.Texts().empty());
    ASSERT_NE(scene.FloorPlane(), nullptr);
    EXPECT_EQ(scene.FloorPlane()->Name(), "Floor");
    EXPECT_FALSE(scene.FloorPlane()->IsPickable());
    EXPECT_EQ(scene.RightWallPlane()->Name(), "Right Wall");
    EXPECT_EQ(scene.LeftWallPlane()->Name(), "Left Wall");
    ASSERT_NE(scene.FloorPlane()->Texture(), nullptr);
    EXPECT_EQ(scene.FloorPlane()->TextureScale(), (Vector3{3, 3, 1}));
    ASSERT_NE(scene.LeftWallPlane()->Texture(), nullptr);
    EXPECT_EQ(scene.LeftWallPlane()->TextureScale(), (Vector3{3, 1, 1}));
    EXPECT_TRUE(scene.Textures().empty()) << "default textures are not the scene's textures";
    EXPECT_TRUE(scene.Objects().empty());

    ASSERT_EQ(scene.Lights().size(), 3u);
    const Vector3 positions[] = {{-6, 8, 6}, {6, 8, -6}, {9, 3, 0}};
    for (int i = 0; i < 3; ++i) {
        const COGLLight& light = *scene.Lights()[static_cast<std::size_t>(i)];
        EXPECT_EQ(light.Slot(), i);
        EXPECT_EQ(light.GlLight(), static_cast<GLenum>(GL_LIGHT0 + i));
        EXPECT_EQ(light.Marker()->Position(), positions[i]);
        EXPECT_EQ(light.Name(), "Point");
    }

    // Missing textures leave the planes plain, each wall saying so.
    COGLScene bare;
    bare.CreateDefaults("/nonexistent");
    EXPECT_EQ(bare.FloorPlane()->Texture(), nullptr);
    EXPECT_EQ(messages.Texts().size(), 3u);
}

TEST(Lights, TakeTheEightSlotsInOrderAndTheNinthStaysDark)
{
    test::RecordedMessages messages;
    std::vector<std::unique_ptr<COGLPointLight>> lights;
    for (int i = 0; i < 8; ++i)
        lights.push_back(std::make_unique<COGLPointLight>(0, 0, 0));
    EXPECT_TRUE(messages.Texts().empty());
    auto ninth = std::make_unique<COGLPointLight>(0, 0, 0);
    EXPECT_EQ(ninth->Slot(), -1);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No more lights are available."});

    lights[1].reset();
    EXPECT_FALSE(LightSlots::InUse(1));
    const auto next = std::make_unique<COGLPointLight>(1, 2, 3);
    EXPECT_EQ(next->Slot(), 1);
    ninth.reset(); // owns no slot, frees none
    EXPECT_TRUE(LightSlots::InUse(1));
}

TEST(Lights, MarkerIsASmallSpherePickedByItsOutline)
{
    const COGLPointLight light(1, 2, 3);
    const COGLObject& marker = *light.Marker();
    EXPECT_EQ(marker.Kind(), ObjectKind::Sphere);
    EXPECT_EQ(marker.Scale(), (Vector3{0.15f, 0.15f, 0.15f}));
    EXPECT_EQ(marker.PickStyle(), COGLObject::kPickByOutline);
    EXPECT_NE(marker.Flags() & COGLObject::kLightMarkerFlag, 0u);
    EXPECT_EQ(marker.EmissionColor(), (ColourRGBA{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_FLOAT_EQ(light.PositionW(), 1.0f);
}

TEST(Lights, CopiesAndRecordsCarryColoursAndPositionButNotTheSlot)
{
    COGLPointLight source(1, 2, 3);
    source.SetDiffuse({0.5f, 0.25f, 0.125f, 1});
    source.SetEnabled(false);
    COGLPointLight copy(0, 0, 0);
    copy.CopyFrom(source);
    EXPECT_EQ(copy.Name(), "Copy of Point");
    EXPECT_EQ(copy.Diffuse(), source.Diffuse());
    EXPECT_EQ(copy.Marker()->Position(), (Vector3{1, 2, 3}));
    EXPECT_TRUE(copy.IsEnabled());
    EXPECT_NE(copy.Slot(), source.Slot());

    source.SetName(std::string(120, 'n'));
    source.Marker()->Hide();
    ByteWriter out;
    source.SaveLight(out);
    ASSERT_EQ(out.size(), light_layout::kRecordSize);
    EXPECT_EQ(out.data()[99], 0) << "the name keeps 99 characters and its terminator";

    COGLPointLight loaded(0, 0, 0);
    ByteReader in(out.data());
    ASSERT_TRUE(loaded.LoadLight(in));
    EXPECT_EQ(loaded.Name(), std::string(99, 'n'));
    EXPECT_EQ(loaded.Diffuse(), source.Diffuse());
    EXPECT_EQ(loaded.Marker()->Position(), (Vector3{1, 2, 3}));
    EXPECT_FALSE(loaded.Marker()->IsVisible());
    EXPECT_FALSE(loaded.IsEnabled());

    ByteReader cut(std::span<const std::uint8_t>(out.data()).first(171));
    EXPECT_FALSE(loaded.LoadLight(cut));
}

} // namespace
} // namespace zelvane
