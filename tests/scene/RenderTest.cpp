// The scene drawn through the viewport on the off-screen context, judged by
// its pixels: where the floor and walls show, the modes, the grid, the
// selection colour, transparency, every kind inside its cage, hidden objects.

#include "scene/COGLBillboard.h"
#include "scene/COGLBox.h"
#include "scene/COGLPlane.h"
#include "scene/COGLPointLight.h"
#include "scene/COGLScene.h"
#include "scene/COGLViewport3D.h"
#include "scene/ObjectFactory.h"
#include "tests/scene/GLStage.h"
#include "tests/testkit/TestFiles.h"
#include "tools/ImageFileBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>

namespace zelvane {
namespace {

using test::At;
using test::Near;
using test::ToScreen;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
const Rgb kBackground{207, 200, 207};
const Rgb kGridColour{160, 167, 160};
const Rgb kSelected{224, 111, 111};

class Render : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(stage_.ok()) << stage_.Error();
        viewport_.SetRectangle(0, 0, kWidth, kHeight);
        viewport_.SetAxis(false);
        viewport_.SetGrid(false);
    }

    PlainImage Frame(COGLScene& scene, DrawFlags mode)
    {
        viewport_.SetDisplayMode(mode);
        return stage_.Frame(viewport_, scene);
    }

    Rgb Seen(const PlainImage& image, const Vector3& world)
    {
        const test::ScreenPoint p = ToScreen(viewport_, world);
        return At(image, p.x, p.y);
    }

    // Whether any pixel within `radius` of where `world` lands is near `colour`.
    bool SeenNear(const PlainImage& image, const Vector3& world, const Rgb& colour, int radius = 1)
    {
        const test::ScreenPoint p = ToScreen(viewport_, world);
        for (int y = p.y - radius; y <= p.y + radius; ++y)
            for (int x = p.x - radius; x <= p.x + radius; ++x)
                if (x >= 0 && y >= 0 && x < kWidth && y < kHeight && Near(At(image, x, y), colour, 6))
                    return true;
        return false;
    }

    test::GLStage stage_{kWidth, kHeight};
    COGLViewport3D viewport_;
};

int CountNear(const PlainImage& image, const Rgb& colour, int tolerance)
{
    int count = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            count += Near(At(image, x, y), colour, tolerance);
    return count;
}

TEST_F(Render, TheDefaultSceneInTheGamesViewShowsTheTexturedFloorAndBothWalls)
{
    COGLScene scene;
    scene.CreateDefaults(test::TestMapsFolder());
    const PlainImage shaded = Frame(scene, kDisplayShaded);

    // The floor is wood: red over green over blue, clearly not grey.
    for (const Vector3& onFloor : {Vector3{0, 0, 0}, Vector3{-5, 0, 5}, Vector3{5, 0, -4}, Vector3{-6, 0, -6}}) {
        const Rgb wood = Seen(shaded, onFloor);
        EXPECT_GT(wood.red, wood.green + 30) << onFloor.x << ", " << onFloor.z;
        EXPECT_GT(wood.green, wood.blue + 15) << onFloor.x << ", " << onFloor.z;
    }
    // Both walls show the wallpaper above their panelling: pale, greener than it is blue.
    for (const Vector3& onWall : {Vector3{-3, 2.4f, -7.5f}, Vector3{7.5f, 2.4f, -3}, Vector3{7.5f, 2.4f, 4}}) {
        const Rgb paper = Seen(shaded, onWall);
        EXPECT_GT(paper.green, 120) << onWall.x << ", " << onWall.z;
        EXPECT_GT(paper.green, paper.blue + 10) << onWall.x << ", " << onWall.z;
        EXPECT_FALSE(Near(paper, kBackground, 10));
    }
    // And nothing lies outside the room: above the walls and in front of the
    // floor's nearest corner, (−7.5, 0, 7.5).
    EXPECT_EQ(Seen(shaded, {-3, 4.5f, -7.5f}), kBackground);
    EXPECT_NE(Seen(shaded, {-7.2f, 0, 7.2f}), kBackground);
    EXPECT_EQ(Seen(shaded, {-8.5f, 0, 8.5f}), kBackground);
    EXPECT_EQ(At(shaded, 2, kHeight - 3), kBackground);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Render, WireframeDrawsOutlinesAndTheGridOnlyWhereItBelongs)
{
    COGLScene scene;
    scene.CreateDefaults(test::TestMapsFolder());
    const PlainImage shaded = Frame(scene, kDisplayShaded);
    const PlainImage wire = Frame(scene, kDisplayWireframe);
    EXPECT_EQ(Seen(wire, {0.2f, 0, 0.3f}), kBackground) << "the floor is only its outline";
    EXPECT_TRUE(SeenNear(wire, {7.5f, 3.0f, 0}, kGridColour)) << "the right wall's top edge";
    EXPECT_NE(Seen(shaded, {0.2f, 0, 0.3f}), kBackground);

    // Grid lines run at x = −7.5 + i and z = −7.5 + j; (0.5, 0, 2.2) lies on one.
    const Vector3 onGridLine{0.5f, 0, 2.2f};
    EXPECT_FALSE(SeenNear(wire, onGridLine, kGridColour));
    viewport_.SetGrid(true);
    EXPECT_TRUE(SeenNear(Frame(scene, kDisplayWireframe), onGridLine, kGridColour));
    EXPECT_FALSE(SeenNear(Frame(scene, kDisplayShaded), onGridLine, kGridColour)) << "no grid in shaded mode";
    // Off the lines the grid leaves the background.
    EXPECT_EQ(Seen(Frame(scene, kDisplayWireframe), {0.0f, 0, 2.0f}), kBackground);
}

TEST_F(Render, TheSelectedObjectIsDrawnInTheSelectionColour)
{
    COGLScene scene;
    COGLObject& box = scene.AddObject(std::make_unique<COGLBox>());
    EXPECT_EQ(CountNear(Frame(scene, kDisplayWireframe), kSelected, 8), 0);
    scene.SetSelectedObject(&box);
    const PlainImage selected = Frame(scene, kDisplayWireframe);
    EXPECT_GT(CountNear(selected, kSelected, 8), 40);
    EXPECT_EQ(CountNear(selected, kGridColour, 8), 0) << "and nothing else is";
}

TEST_F(Render, ATransparentObjectBlendsOverWhatLiesBehindIt)
{
    COGLScene scene;
    scene.CreateDefaults(test::TestMapsFolder());
    // A box in front of the left wall, and the wall behind its centre.
    const Vector3 atWall{-2, 2.2f, -6};
    const Rgb behind = Seen(Frame(scene, kDisplayShaded), atWall);

    // It shows only its emission, pure red, with alpha one half.
    auto box = std::make_unique<COGLBox>();
    box->SetPosition(atWall.x, atWall.y, atWall.z);
    box->SetAmbient(0, 0, 0, 1);
    box->SetDiffuse(0, 0, 0, 0.5f);
    box->SetEmission(1, 0, 0, 1);
    COGLObject& added = scene.AddObject(std::move(box));
    EXPECT_TRUE(Near(Seen(Frame(scene, kDisplayShaded), atWall), (Rgb{255, 0, 0}), 2)) << "opaque: red";

    added.SetTransparent(true);
    const Rgb blended = Seen(Frame(scene, kDisplayShaded), atWall);
    const Rgb expected{static_cast<std::uint8_t>((255 + behind.red) / 2), static_cast<std::uint8_t>(behind.green / 2),
                       static_cast<std::uint8_t>(behind.blue / 2)};
    EXPECT_TRUE(Near(blended, expected, 3)) << int(blended.red) << " " << int(blended.green) << " " << int(blended.blue);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites) << "depth writes are back on after the object";
}

// The screen box of an object's cage corners (±extent through its transform).
struct ScreenBox {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

ScreenBox CageOnScreen(const COGLViewport3D& viewport, const COGLObject& object)
{
    ScreenBox box;
    const Vector3& e = object.Extent();
    const Vector3& s = object.Scale();
    const Matrix4 turn = object.Orientation().ToMatrix();
    for (const float x : {-e.x, e.x})
        for (const float y : {-e.y, e.y})
            for (const float z : {-e.z, e.z}) {
                Vector3 corner;
                if (object.Kind() == ObjectKind::Billboard) {
                    // Faces the screen: its corners lie along the camera's own axes.
                    const Matrix4 view = viewport.Camera().ViewMatrix();
                    Matrix4 inverse = view;
                    inverse.Invert();
                    corner = object.Position() + inverse.TransformDirection({x * s.x, y * s.y, 0});
                } else {
                    corner = object.Position() + turn.TransformDirection({x * s.x, y * s.y, z * s.z});
                }
                const test::ScreenPoint p = ToScreen(viewport, corner);
                box.left = std::min(box.left, p.x);
                box.right = std::max(box.right, p.x);
                box.top = std::min(box.top, p.y);
                box.bottom = std::max(box.bottom, p.y);
            }
    return box;
}

TEST_F(Render, EveryKindDrawsSomethingAndNothingOutsideItsCage)
{
    for (const DrawFlags mode : {kDisplayWireframe, kDisplayShaded}) {
        for (const int code : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 13}) {
            const ObjectKind kind = *KindFromCode(code);
            SCOPED_TRACE(std::string(DefaultNameOf(kind)) + (mode == kDisplayShaded ? " shaded" : " wireframe"));
            COGLScene scene;
            COGLObject& object = scene.AddObject(CreateObjectOfKind(kind));
            object.SetPosition(0.5f, 1.0f, -0.5f);
            object.RotateY(20);
            const PlainImage image = Frame(scene, mode);
            const ScreenBox cage = CageOnScreen(viewport_, object);
            int inside = 0, outside = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    if (At(image, x, y) == kBackground)
                        continue;
                    const bool within = x >= cage.left - 2 && x <= cage.right + 2 && y >= cage.top - 2 && y <= cage.bottom + 2;
                    (within ? inside : outside) += 1;
                }
            EXPECT_EQ(outside, 0);
            // Seen from above, the ceiling turns its back and is culled when shaded.
            if (kind == ObjectKind::Ceiling && mode == kDisplayShaded)
                EXPECT_EQ(inside, 0);
            else
                EXPECT_GT(inside, 15);
        }
    }
}

TEST_F(Render, TheSelectionCageIsRedAndLiesAroundItsObject)
{
    COGLScene scene;
    for (const ObjectKind kind : {ObjectKind::Box, ObjectKind::Sphere, ObjectKind::Cylinder, ObjectKind::Plane}) {
        SCOPED_TRACE(std::string(DefaultNameOf(kind)));
        std::unique_ptr<COGLObject> object = CreateObjectOfKind(kind);
        object->SetPosition(-1, 1, 1);
        object->RotateZ(30);
        Frame(scene, kDisplayShaded); // projection and camera as the view leaves them
        object->DrawCage();
        const PlainImage image = stage_.Context().ReadImage();
        const ScreenBox cage = CageOnScreen(viewport_, *object);
        int red = 0, outside = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (Near(At(image, x, y), (Rgb{255, 0, 0}), 8)) {
                    ++red;
                    // The axis markers reach 0.2 beyond the extent.
                    outside += x < cage.left - 8 || x > cage.right + 8 || y < cage.top - 8 || y > cage.bottom + 8;
                }
        EXPECT_GT(red, 30);
        EXPECT_EQ(outside, 0);
        object->Hide();
        Frame(scene, kDisplayShaded);
        object->DrawCage();
        EXPECT_EQ(CountNear(stage_.Context().ReadImage(), (Rgb{255, 0, 0}), 8), 0);
    }
}

TEST_F(Render, AHiddenObjectIsNotDrawn)
{
    COGLScene scene;
    scene.CreateDefaults(test::TestMapsFolder());
    const PlainImage empty = Frame(scene, kDisplayShaded);
    COGLObject& box = scene.AddObject(std::make_unique<COGLBox>());
    const PlainImage shown = Frame(scene, kDisplayShaded);
    box.Hide();
    const PlainImage hidden = Frame(scene, kDisplayShaded);
    EXPECT_FALSE(std::equal(empty.Bits().begin(), empty.Bits().end(), shown.Bits().begin()));
    EXPECT_TRUE(std::equal(empty.Bits().begin(), empty.Bits().end(), hidden.Bits().begin()));
}

TEST_F(Render, LightsShowTheirMarkersAndADisabledLightIsSwitchedOffEveryFrame)
{
    COGLScene scene;
    scene.CreateDefaults(test::TestMapsFolder());
    const Vector3 third = scene.Lights()[2]->Marker()->Position();
    EXPECT_TRUE(Near(Seen(Frame(scene, kDisplayWireframe), third), (Rgb{255, 255, 127}), 2));

    scene.Lights()[1]->SetEnabled(false);
    glEnable(GL_LIGHT1);
    Frame(scene, kDisplayShaded);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
}

TEST_F(Render, TheCageAndTheAxisMarkerAppearAsSwitched)
{
    COGLScene scene;
    const Rgb blue{0, 0, 255};
    viewport_.SetCageSize({2, 1, 3});
    EXPECT_EQ(CountNear(Frame(scene, kDisplayWireframe), blue, 10), 0);
    viewport_.SetCage(true);
    const PlainImage cage = Frame(scene, kDisplayWireframe);
    // The open-topped box stands on the floor centred on the origin.
    EXPECT_TRUE(SeenNear(cage, {1, 0, 1.5f}, blue));
    EXPECT_TRUE(SeenNear(cage, {-1, 1, -1.5f}, blue));
    EXPECT_TRUE(SeenNear(cage, {1, 1, 0}, blue));
    EXPECT_EQ(CountNear(Frame(scene, kDisplayShaded), blue, 10), 0) << "no cage in shaded mode";

    // The axis marker sits near the lower-left corner in either mode.
    viewport_.SetCage(false);
    viewport_.SetAxis(true);
    const PlainImage axis = Frame(scene, kDisplayShaded);
    for (const Rgb& colour : {Rgb{255, 0, 0}, Rgb{0, 255, 0}, blue}) {
        int inCorner = 0;
        for (int y = kHeight - 60; y < kHeight; ++y)
            for (int x = 0; x < 60; ++x)
                inCorner += Near(At(axis, x, y), colour, 10);
        EXPECT_GT(inCorner, 3);
        EXPECT_EQ(inCorner, CountNear(axis, colour, 10)) << "only in the corner";
    }
}

TEST_F(Render, ATessellatedPlaneDrawsItsFilledGridEvenInWireframe)
{
    COGLPlane plane;
    plane.SetTessellated(true);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -3, 3, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
    plane.Draw(kDrawWireframe);
    const PlainImage image = stage_.Context().ReadImage();
    // Filled inside its 6 × 6 square, not just its outline.
    EXPECT_EQ(At(image, kWidth / 2 + 7, kHeight / 2 + 5), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(image, 5, 5), (Rgb{0, 0, 0}));
}

// A texture of `width` × 2 pixels from a Targa file: the left half `left`,
// the right half `right` (blue, green, red, alpha each).
std::unique_ptr<COGLTexture2D> TwoColourTexture(const test::TempDir& folder, const std::array<std::uint8_t, 4>& left,
                                                const std::array<std::uint8_t, 4>& right)
{
    TargaSpec spec;
    spec.width = 4;
    spec.height = 2;
    spec.pixelDepth = 32;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            spec.data.insert(spec.data.end(), (x < 2 ? left : right).begin(), (x < 2 ? left : right).end());
    const std::string path = folder.File("two.tga");
    test::WriteBytes(path, TargaFile(spec));
    auto texture = std::make_unique<COGLTexture2D>();
    EXPECT_TRUE(texture->Load(path, 0));
    return texture;
}

TEST_F(Render, TexturePlacementMovesAndRepeatsTheTexture)
{
    test::TempDir folder;
    COGLScene scene;
    COGLTexture2D& texture = scene.AddTexture(TwoColourTexture(folder, {0, 0, 255, 255}, {255, 0, 0, 255}));
    scene.SetTextureFilter(0);
    scene.ApplyTextureParameters(texture);
    COGLObject& plane = scene.AddObject(std::make_unique<COGLPlane>());
    plane.SetTexture(&texture);
    plane.SetTextureEnvMode(GL_DECAL); // the texture's own colours, unlit
    viewport_.Camera().SetPresetFront();
    plane.SetPosition(0, 1.5f, 0);
    const Rgb red{255, 0, 0}, blue{0, 0, 255};
    // The plane spans x from −3 to 3; s runs from 0 at its left edge to 1 at its right.
    auto at = [&](float x) { return Seen(Frame(scene, kDisplayShaded), {x, 1.5f, 0}); };
    EXPECT_EQ(at(-2), red);
    EXPECT_EQ(at(2), blue);
    plane.SetTextureOffset({0.5f, 0, 0});
    EXPECT_EQ(at(-2), blue);
    EXPECT_EQ(at(2), red);
    plane.SetTextureOffset({0, 0, 0});
    plane.SetTextureScale({2, 1, 1}); // twice across: red, blue, red, blue
    EXPECT_EQ(at(-2.25f), red);
    EXPECT_EQ(at(-0.75f), blue);
    EXPECT_EQ(at(0.75f), red);
    EXPECT_EQ(at(2.25f), blue);
}

TEST_F(Render, ABillboardFacesTheViewerWithItsTexturesOwnColoursAndLeavesOutSeeThroughPixels)
{
    test::TempDir folder;
    COGLScene scene;
    // Left half see-through (alpha 0), right half opaque green.
    COGLTexture2D& texture = scene.AddTexture(TwoColourTexture(folder, {255, 0, 0, 0}, {0, 255, 0, 255}));
    COGLObject& billboard = scene.AddObject(std::make_unique<COGLBillboard>());
    billboard.SetTexture(&texture);
    billboard.SetPosition(0, 1, 0);
    billboard.RotateX(70); // ignored: it always faces the screen
    const PlainImage image = Frame(scene, kDisplayShaded);
    const test::ScreenPoint centre = ToScreen(viewport_, {0, 1, 0});
    const int halfWidth = static_cast<int>(kHeight / (2 * viewport_.Camera().Distance())); // one unit in pixels
    EXPECT_EQ(At(image, centre.x + halfWidth / 2, centre.y), (Rgb{0, 255, 0}));
    EXPECT_EQ(At(image, centre.x + halfWidth / 2, centre.y - halfWidth / 2), (Rgb{0, 255, 0}));
    EXPECT_EQ(At(image, centre.x - halfWidth / 2, centre.y), kBackground);
    EXPECT_EQ(At(image, centre.x + halfWidth + 3, centre.y), kBackground);

    // An object drawn after it keeps its own material: here pure red emission.
    auto box = std::make_unique<COGLBox>();
    box->SetAmbient(0, 0, 0, 1);
    box->SetDiffuse(0, 0, 0, 1);
    box->SetEmission(1, 0, 0, 1);
    const Vector3 nearer = Vector3{-3, 1, 3}; // nearer the eye, so drawn after the billboard
    box->SetPosition(nearer.x, nearer.y, nearer.z);
    scene.AddObject(std::move(box));
    EXPECT_EQ(Seen(Frame(scene, kDisplayShaded), nearer), (Rgb{255, 0, 0}));
}

TEST(OrthoVolume, IsSetByTheCameraDistanceAndTheLongerSide)
{
    const OrthoVolume wide = OrthoVolume::Of(800, 600, 7.25f, false);
    EXPECT_NEAR(wide.right, 9.667, 0.001);
    EXPECT_NEAR(wide.left, -9.667, 0.001);
    EXPECT_DOUBLE_EQ(wide.top, 7.25);
    EXPECT_DOUBLE_EQ(wide.farPlane, 10000);
    EXPECT_DOUBLE_EQ(wide.nearPlane, -1000);
    const OrthoVolume tall = OrthoVolume::Of(600, 800, 7.25f, false);
    EXPECT_DOUBLE_EQ(tall.right, 7.25);
    EXPECT_NEAR(tall.top, 9.667, 0.001);
    EXPECT_DOUBLE_EQ(tall.farPlane, 1000);
    EXPECT_DOUBLE_EQ(OrthoVolume::Of(800, 600, 7.25f, true).farPlane, 1000);
}

} // namespace
} // namespace zelvane
