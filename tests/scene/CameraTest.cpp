// The orbiting camera: presets, zoom, orbit, moves and the world axes it keeps
// nearest to the screen's directions.

#include "scene/COGLCamera3D.h"
#include "scene/ZoomPreset.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelvane {
namespace {

// What Apply refreshes after the viewport has loaded the identity.
void Refresh(COGLCamera3D& camera)
{
    camera.RefreshDerivedVectors(camera.ViewMatrix());
}

TEST(Camera, StartsInTheGamesViewAtDistance725)
{
    const COGLCamera3D camera;
    EXPECT_EQ(camera.Preset(), CameraPreset::Sims);
    EXPECT_FLOAT_EQ(camera.Distance(), 7.25f);
    EXPECT_NEAR(camera.GetZoomPercent(), 110.34f, 0.01f);
    EXPECT_EQ(camera.Center(), (Vector3{0, -1, 0}));
    EXPECT_FLOAT_EQ(camera.Elevation(), 30.0f);
    EXPECT_FLOAT_EQ(camera.Azimuth(), 45.0f);
    EXPECT_TRUE(camera.IsDirty());
}

TEST(Camera, PresetsSetCentreAnglesAndNumberButNotDistance)
{
    struct Expected {
        CameraPreset preset;
        Vector3 center;
        float elevation;
        float azimuth;
    };
    const Expected table[] = {
        {CameraPreset::Top, {0, 0, 0}, 90, 0},
        {CameraPreset::Front, {0, -1.5f, 0}, 0, 0},
        {CameraPreset::Left, {0, -1.5f, 0}, 0, 90},
        {CameraPreset::Right, {0, 0, 0}, 0, 270},
        {CameraPreset::Sims, {0, -1, 0}, 30, 45},
    };
    COGLCamera3D camera;
    camera.Zoom(1.0f);
    for (const Expected& e : table) {
        camera.SetPreset(e.preset);
        EXPECT_EQ(camera.Preset(), e.preset);
        EXPECT_EQ(camera.Center(), e.center);
        EXPECT_FLOAT_EQ(camera.Elevation(), e.elevation);
        EXPECT_FLOAT_EQ(camera.Azimuth(), e.azimuth);
        EXPECT_FLOAT_EQ(camera.Roll(), 0.0f);
        EXPECT_FLOAT_EQ(camera.Distance(), 8.25f);
        EXPECT_TRUE(camera.IsDirty());
    }
}

TEST(Camera, AxesFollowThePreset)
{
    COGLCamera3D camera;
    Refresh(camera);
    EXPECT_EQ(camera.DvUp(), (Vector3{0, 1, 0}));
    camera.SetPresetTop();
    Refresh(camera);
    EXPECT_EQ(camera.DvUp(), (Vector3{0, 0, -1}));
    EXPECT_EQ(camera.DvRight(), (Vector3{1, 0, 0}));
    EXPECT_EQ(camera.DvFace(), (Vector3{0, 1, 0}));
    // Left: seen from −x, so the screen's right is +z and the viewer lies towards −x.
    camera.SetPresetLeft();
    Refresh(camera);
    EXPECT_EQ(camera.DvRight(), (Vector3{0, 0, 1}));
    EXPECT_EQ(camera.DvFace(), (Vector3{-1, 0, 0}));
}

TEST(Camera, OrbitWrapsAndLeavesThePreset)
{
    COGLCamera3D camera;
    camera.SetPresetRight(); // azimuth 270
    camera.Orbit(80);
    EXPECT_FLOAT_EQ(camera.Azimuth(), 350.0f);
    EXPECT_EQ(camera.Preset(), CameraPreset::Sims);
    camera.Orbit(20);
    EXPECT_FLOAT_EQ(camera.Azimuth(), 10.0f);
    camera.Orbit(-30);
    EXPECT_FLOAT_EQ(camera.Azimuth(), 340.0f);
    camera.Orbit(19);
    camera.Orbit(0.5f);
    EXPECT_FLOAT_EQ(camera.Azimuth(), 359.5f);
}

TEST(Camera, ZoomStaysWithinItsBoundsAndPresetsSetTheDistance)
{
    COGLCamera3D camera;
    camera.Zoom(-10.0f);
    EXPECT_FLOAT_EQ(camera.Distance(), COGLCamera3D::kNearestDistance) << "never 0: an empty view volume";
    camera.Zoom(2.0f);
    EXPECT_FLOAT_EQ(camera.Distance(), 2.5f);
    camera.ZoomBy(2.0f);
    EXPECT_FLOAT_EQ(camera.Distance(), 5.0f);
    camera.ZoomBy(1000.0f);
    EXPECT_FLOAT_EQ(camera.Distance(), COGLCamera3D::kFarthestDistance);
    camera.ZoomBy(0.0f);
    camera.ZoomBy(std::nanf(""));
    camera.Zoom(std::nanf(""));
    EXPECT_FLOAT_EQ(camera.Distance(), COGLCamera3D::kNearestDistance) << "NaN is caught";
    camera.ZoomBy(-1.0f);
    EXPECT_FLOAT_EQ(camera.Distance(), COGLCamera3D::kNearestDistance);

    ApplyZoomPreset(ZoomPreset::Near, camera);
    EXPECT_FLOAT_EQ(camera.Distance(), 3.625f);
    ApplyZoomPreset(ZoomPreset::Far, camera);
    EXPECT_FLOAT_EQ(camera.Distance(), 14.5f);
    ApplyZoomPreset(ZoomPreset::Free, camera);
    EXPECT_FLOAT_EQ(camera.Distance(), 14.5f);
}

TEST(Camera, MovesFollowTheSnappedAxesButInOutAddsToEveryComponent)
{
    COGLCamera3D camera;
    camera.SetPresetTop();
    Refresh(camera); // up is −z, right is +x
    camera.MoveAlongUp(2.0f);
    camera.MoveAlongRight(1.0f);
    EXPECT_EQ(camera.Center(), (Vector3{1, 0, -2}));
    camera.MoveInOut(0.5f);
    EXPECT_EQ(camera.Center(), (Vector3{1.5f, 0.5f, -1.5f}));
    EXPECT_TRUE(camera.IsDirty());
}

TEST(Camera, EyeIsTheInverseViewAppliedToTheCentre)
{
    COGLCamera3D camera;
    camera.SetPresetFront(); // no turn: the inverse only moves back by distance and −center
    Refresh(camera);
    EXPECT_NEAR(camera.Eye().x, 0.0f, 1e-5f);
    EXPECT_NEAR(camera.Eye().y, 0.0f, 1e-5f);
    EXPECT_NEAR(camera.Eye().z, 7.25f, 1e-5f);
}

} // namespace
} // namespace zelvane
