// Laying the tiles' renders together: front to back, each pixel whole to the
// tile that gives most of it, the smaller zooms averaged from the same
// samples, and the depth of the nearest surface.

#include "bake/GameDepth.h"
#include "bake/SampleMerge.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zelvane;

namespace {

constexpr int kSide = 4;    // pixels of the largest zoom a side
constexpr int kSamples = 4; // a side per pixel
constexpr int kSampleSide = kSide * kSamples;

struct Samples {
    std::vector<uint8_t> rgba = std::vector<uint8_t>(kSampleSide * kSampleSide * 4, 0);
    std::vector<float> distance = std::vector<float>(kSampleSide * kSampleSide, 0.0f);

    // Paints the samples for which `where(sx, sy)` holds.
    void Paint(const std::function<bool(int, int)>& where, std::array<uint8_t, 4> premultiplied, float at)
    {
        for (int sy = 0; sy < kSampleSide; ++sy)
            for (int sx = 0; sx < kSampleSide; ++sx)
                if (where(sx, sy)) {
                    const size_t s = static_cast<size_t>(sy) * kSampleSide + sx;
                    std::copy(premultiplied.begin(), premultiplied.end(), rgba.begin() + static_cast<ptrdiff_t>(4 * s));
                    distance[s] = at;
                }
    }
};

BakedImage Resolve(const SampleMerge& merge, int zoomShift, std::vector<double> centres = {0.0, 0.0})
{
    BakedImage image;
    image.Resize(kSide >> zoomShift, kSide >> zoomShift);
    merge.Resolve(zoomShift, centres, image, 0, 0);
    return image;
}

} // namespace

TEST(SampleMerge, APixelSplitBetweenTwoTilesGoesWholeToTheLargerShare)
{
    // Pixel (0, 0): 10 of its 16 samples red on tile 0, the other 6 blue on tile 1.
    Samples red, blue;
    auto firstTen = [](int sx, int sy) { return sx < kSamples && sy < kSamples && sy * kSamples + sx < 10; };
    red.Paint(firstTen, {255, 0, 0, 255}, 0.0f);
    blue.Paint([&](int sx, int sy) { return sx < kSamples && sy < kSamples && !firstTen(sx, sy); }, {0, 0, 255, 255},
               0.0f);
    SampleMerge merge(kSide, kSide, kSamples, 2);
    merge.AddTile(0, red.rgba, red.distance);
    merge.AddTile(1, blue.rgba, blue.distance);
    const BakedImage image = Resolve(merge, 0);
    const BakedPixel& p = image.At(0, 0);
    EXPECT_EQ(p.tile, 0);
    EXPECT_EQ(p.alpha, 255);
    EXPECT_EQ(p.red, 159); // 10/16 of 255
    EXPECT_EQ(p.blue, 96);
    EXPECT_FALSE(image.At(1, 0).Drawn());
    // Half a zoom down, the 2 × 2 pixels hold 64 samples, 16 of them drawn.
    const BakedPixel half = Resolve(merge, 1).At(0, 0);
    EXPECT_EQ(half.tile, 0);
    EXPECT_EQ(half.alpha, 64);
    EXPECT_EQ(half.red, 159);
}

TEST(SampleMerge, NearerTilesCoverFartherOnesAndSeenThroughOnesLetThemShow)
{
    // Tile 0 is in front: opaque green on the left half, half see-through
    // red (premultiplied) on the right; tile 1 behind is opaque blue all over.
    Samples front, back;
    front.Paint([](int sx, int) { return sx < kSampleSide / 2; }, {0, 255, 0, 255}, 1.0f);
    front.Paint([](int sx, int) { return sx >= kSampleSide / 2; }, {128, 0, 0, 128}, 1.0f);
    back.Paint([](int, int) { return true; }, {0, 0, 255, 255}, 2.0f);
    SampleMerge merge(kSide, kSide, kSamples, 2);
    merge.AddTile(0, front.rgba, front.distance);
    merge.AddTile(1, back.rgba, back.distance);
    const BakedImage image = Resolve(merge, 0);
    const BakedPixel& left = image.At(0, 2);
    EXPECT_EQ(left.tile, 0);
    EXPECT_EQ(left.green, 255);
    EXPECT_EQ(left.blue, 0); // hidden
    const BakedPixel& right = image.At(3, 2);
    EXPECT_EQ(right.alpha, 255);
    EXPECT_NEAR(right.red, 128, 1);
    EXPECT_NEAR(right.blue, 127, 1);
    // The front tile gives a little more than half: the pixel is its.
    EXPECT_EQ(right.tile, 0);
    // The nearest surface sets the depth, counted from the owner's centre.
    EXPECT_EQ(right.depth, GameDepth::Level(1.0));
    const BakedPixel right2 = Resolve(merge, 0, {0.0, 0.5}).At(3, 2);
    EXPECT_EQ(right2.depth, GameDepth::Level(1.0));
}

TEST(SampleMerge, APixelTakesTheDepthOfItsNearestSurfaceAtItsCentre)
{
    // A slope: distance grows down the samples; a small nearer patch in pixel (2, 2).
    Samples s;
    for (int sy = 0; sy < kSampleSide; ++sy)
        s.Paint([sy](int, int y) { return y == sy; }, {200, 200, 200, 255}, 0.01f * static_cast<float>(sy));
    s.Paint([](int sx, int sy) { return sx == 2 * kSamples && sy == 2 * kSamples; }, {200, 200, 200, 255}, -1.0f);
    SampleMerge merge(kSide, kSide, kSamples, 1);
    merge.AddTile(0, s.rgba, s.distance);
    const BakedImage image = Resolve(merge, 0, {0.0});
    // Pixel row 1 holds sample rows 4 to 7: its centre lies at 0.055.
    EXPECT_EQ(image.At(0, 1).depth, GameDepth::Level(0.055));
    EXPECT_EQ(image.At(2, 2).depth, GameDepth::Level(-1.0));
}
