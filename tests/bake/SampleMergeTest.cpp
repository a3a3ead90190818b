// Laying the tiles' renders together: a pixel takes the depth of the nearest
// surface in it. (How tiles and zooms come together is judged on real renders
// by the bake tests.)

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
