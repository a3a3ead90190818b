// The game's camera: derived from the editor's "The Sims" preset, it puts
// every tile where the preview composer places it, draws a tile as the
// 128 × 64 diamond, numbers images and frames as real files do, and gives
// depth levels on the real rug's scale, the height included.

#include "bake/GameCamera.h"
#include "bake/GameDepth.h"
#include "bake/TileFootprint.h"
#include "scene/COGLCamera3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zelvane;

namespace {

constexpr double kExact = 1e-6;

} // namespace

TEST(GameCamera, EveryTileLandsWhereTheComposerPlacesItInEveryDirectionAndZoom)
{
    const GameCamera camera;
    for (int direction = 0; direction < kGameDirections; ++direction)
        for (int zoomShift = 0; zoomShift < kGameZooms; ++zoomShift) {
            const TilePlacement c = TilePlacementOf(direction).Shifted(zoomShift);
            for (int x = -2; x <= 3; ++x)
                for (int y = -2; y <= 3; ++y) {
                    const ScreenPosition at = camera.Project(direction, GameCamera::TileCentre(x, y));
                    EXPECT_NEAR(at.x / (1 << zoomShift), c.leftX * x + c.leftY * y, kExact)
                        << "direction " << direction << " zoom " << zoomShift << " tile " << x << "," << y;
                    EXPECT_NEAR(at.y / (1 << zoomShift), c.bottomX * x + c.bottomY * y, kExact)
                        << "direction " << direction << " zoom " << zoomShift << " tile " << x << "," << y;
                    // Farther tiles are farther along the view, as the composer sorts them.
                    auto sign = [](double v) { return (v > 1e-9) - (v < -1e-9); };
                    const TilePlacement& full = TilePlacementOf(direction);
                    EXPECT_EQ(sign(at.distance), sign(full.depthX * x + full.depthY * y));
                }
        }
}

TEST(GameCamera, ATileIsTheDiamondOf128By64PixelsAndDirectionTwoIsTheEditorsPreset)
{
    const GameCamera camera;
    for (int direction = 0; direction < kGameDirections; ++direction) {
        double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
        for (const float x : {-0.5f, 0.5f})
            for (const float z : {-0.5f, 0.5f}) {
                const ScreenPosition at = camera.Project(direction, {x, 0.0f, z});
                left = std::min(left, at.x);
                right = std::max(right, at.x);
                top = std::min(top, at.y);
                bottom = std::max(bottom, at.y);
            }
        EXPECT_NEAR(left, -64, kExact);
        EXPECT_NEAR(right, 64, kExact);
        EXPECT_NEAR(top, -32, kExact);
        EXPECT_NEAR(bottom, 32, kExact);
    }
    COGLCamera3D preset;
    preset.SetPresetSims();
    const Matrix4 editor = preset.ViewMatrix();
    const Matrix4 game = camera.ViewMatrix(2);
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            EXPECT_NEAR(game[column * 4 + row], editor[column * 4 + row], kExact);
    EXPECT_DOUBLE_EQ(camera.Elevation(), 30.0);
    EXPECT_DOUBLE_EQ(camera.Azimuth(2), 45.0);
}

TEST(GameCamera, ImagesAndFramesAreNumberedAsInRealFiles)
{
    // The real rug's draw groups: images 0-3 are the smallest zoom (1) in
    // directions 1, 4, 16, 64 and show frames 8-11; images 8-11 the largest
    // (3), frames 0-3.
    const int expected[kGameImages][3] = {{1, 1, 8},  {4, 1, 9},  {16, 1, 10}, {64, 1, 11}, {1, 2, 4}, {4, 2, 5},
                                          {16, 2, 6}, {64, 2, 7}, {1, 3, 0},   {4, 3, 1},   {16, 3, 2}, {64, 3, 3}};
    for (int index = 0; index < kGameImages; ++index) {
        const GameImage image = GameImage::FromIndex(index);
        EXPECT_EQ(image.Index(), index);
        EXPECT_EQ(image.DrawGroupDirection(), expected[index][0]);
        EXPECT_EQ(image.DrawGroupZoom(), expected[index][1]);
        EXPECT_EQ(image.SpriteFrame(), expected[index][2]);
    }
    EXPECT_EQ(GameImage::FromIndex(10).direction, 2);
    EXPECT_EQ(GameImage::FromIndex(10).Reduction(), 1);
    EXPECT_EQ(GameImage::FromIndex(1).Reduction(), 4);
}

TEST(GameDepth, TheFloorRunsAsOnTheRealRugAndHeightOnTheSameScale)
{
    const GameCamera camera;
    for (int direction = 0; direction < kGameDirections; ++direction) {
        const double centre = camera.Project(direction, GameCamera::TileCentre(0, 0)).distance;
        // Down the screen across the tile: 1.525 levels a pixel, 202.3 at the centre.
        for (const float x : {-0.5f, 0.5f})
            for (const float z : {-0.5f, 0.5f}) {
                const ScreenPosition corner = camera.Project(direction, {x, 0.0f, z});
                const double level = GameDepth::kAtTileCentre + GameDepth::kPerUnit * (corner.distance - centre);
                EXPECT_NEAR(level, 202.3 - 1.525 * corner.y, 0.05) << "corner at " << corner.x << "," << corner.y;
            }
        // Up a pole: a third of the floor's rate, the other way.
        const ScreenPosition top = camera.Project(direction, {0.0f, 1.0f, 0.0f});
        const double perPixel = GameDepth::kPerUnit * (top.distance - centre) / -top.y;
        EXPECT_NEAR(perPixel, -1.525 / 3, 0.002);
    }
    EXPECT_EQ(GameDepth::Level(0.0), 202);
    EXPECT_EQ(GameDepth::Level(1e6), GameDepth::kFarthest);
    EXPECT_EQ(GameDepth::Level(-1e6), GameDepth::kNearest);
    EXPECT_EQ(GameDepth::Level(std::numeric_limits<double>::quiet_NaN()), GameDepth::kFarthest);
}

TEST(TileFootprint, TilesAreCutOnlyWhereTheyMeetAndRaysMeetThemNearestFirst)
{
    // An L of three tiles: (0, 0), (1, 0) and (0, 1).
    const TileFootprint footprint({{0, 0}, {1, 0}, {0, 1}});
    // Tile (0, 0) reaches out where no tile of the object lies.
    EXPECT_TRUE(footprint.Contains(0, 0.0, 0.5, 5.0));   // beyond its outer edge, scene z = +5
    EXPECT_TRUE(footprint.Contains(0, -3.0, 0.5, 0.0));  // beyond its outer edge, scene x = -3
    EXPECT_FALSE(footprint.Contains(0, 0.0, 0.5, -0.6)); // over tile (1, 0)
    EXPECT_FALSE(footprint.Contains(0, 0.6, 0.5, 0.0));  // over tile (0, 1)
    EXPECT_FALSE(footprint.Contains(0, 0.0, -0.01, 0.0)); // below the floor
    EXPECT_TRUE(footprint.Contains(0, 0.0, 0.0, 0.0));    // on it
    EXPECT_TRUE(footprint.Contains(1, 0.0, 0.5, -1.0));
    EXPECT_TRUE(footprint.Contains(2, 1.0, 0.5, 0.0));
    // Every point above the floor belongs to a tile.
    for (double x = -2; x <= 2; x += 0.25)
        for (double z = -2; z <= 2; z += 0.25) {
            int owners = 0;
            for (size_t t = 0; t < footprint.Count(); ++t)
                owners += footprint.Contains(t, x, 0.3, z);
            EXPECT_GE(owners, 1) << x << "," << z;
        }
    // In direction 2 tile (0, 0) is the nearest; in direction 0 the farthest.
    EXPECT_EQ(footprint.FrontToBack(2).front(), 0u);
    EXPECT_EQ(footprint.FrontToBack(0).back(), 0u);
}
