// Choosing an object's palette: few colours come through exactly, heavy ones
// before light ones, and the nearest colour is the nearest. (How closely a
// rendered object's colours are kept is judged on the sample furniture.)

#include "bake/PaletteQuantiser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace zelvane;

namespace {

float WeightedDistance(Rgb a, float r, float g, float b)
{
    const auto& w = PaletteQuantiser::kWeights;
    return w[0] * (a.red - r) * (a.red - r) + w[1] * (a.green - g) * (a.green - g) + w[2] * (a.blue - b) * (a.blue - b);
}

} // namespace

TEST(PaletteQuantiser, FewerColoursThanEntriesComeThroughExactly)
{
    PaletteQuantiser quantiser;
    std::vector<Rgb> colours;
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        colours.push_back({static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random())});
        quantiser.Add(colours.back(), 1.0f + static_cast<float>(i % 5));
    }
    quantiser.Build(255);
    for (const Rgb c : colours)
        EXPECT_EQ(quantiser.Colours()[static_cast<size_t>(quantiser.Nearest(c.red, c.green, c.blue))], c);
}

TEST(PaletteQuantiser, HeavyColoursAreKeptBeforeLightOnesAndNearestIsNearest)
{
    PaletteQuantiser quantiser;
    std::mt19937 random(3);
    for (int i = 0; i < 5000; ++i)
        quantiser.Add({static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random())},
                      0.01f);
    const Rgb heavy{17, 211, 99};
    quantiser.Add(heavy, 1000.0f);
    quantiser.Add({1, 2, 3}, 0.0f);   // weighs nothing
    quantiser.Add({4, 5, 6}, -1.0f);  // nor this
    quantiser.Build(16);
    ASSERT_EQ(quantiser.Colours().size(), 16u);
    EXPECT_EQ(quantiser.Colours()[static_cast<size_t>(quantiser.Nearest(17, 211, 99))], heavy);
    for (int i = 0; i < 2000; ++i) {
        const float r = static_cast<float>(random() % 400) - 70, g = static_cast<float>(random() % 256),
                    b = static_cast<float>(random() % 256);
        float best = 1e30f;
        for (const Rgb c : quantiser.Colours())
            best = std::min(best, WeightedDistance(c, r, g, b));
        const Rgb chosen = quantiser.Colours()[static_cast<size_t>(quantiser.Nearest(r, g, b))];
        EXPECT_FLOAT_EQ(WeightedDistance(chosen, r, g, b), best);
    }
    PaletteQuantiser empty;
    empty.Build(255);
    EXPECT_TRUE(empty.Colours().empty());
}
