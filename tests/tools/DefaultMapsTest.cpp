// The default floor and wall textures: sizes a texture takes as they are,
// edges that meet without a seam where the scene repeats them, and files the
// bitmap reader reads back.

#include "scene/WindowsBitmap.h"
#include "tests/testkit/TestFiles.h"
#include "tools/DefaultMaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace zelvane {
namespace {

// The mean difference of all channels between column (or row) a and b.
double Difference(const PlainImage& image, bool columns, int a, int b)
{
    const int count = columns ? image.Height() : image.Width();
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        const Rgb p = columns ? image.PixelColour(a, i) : image.PixelColour(i, a);
        const Rgb q = columns ? image.PixelColour(b, i) : image.PixelColour(i, b);
        sum += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
    }
    return sum / count;
}

// Whether the last and the first column (row) differ no more than some two
// neighbours inside the picture do (a joint between planks may fall on the
// edge; a seam would set every row apart).
bool Seamless(const PlainImage& image, bool columns)
{
    const int last = (columns ? image.Width() : image.Height()) - 1;
    double largest = 0;
    for (int i = 0; i < last; ++i)
        largest = std::max(largest, Difference(image, columns, i, i + 1));
    return Difference(image, columns, last, 0) <= largest;
}

TEST(DefaultMaps, TheFloorIsWarmWoodThatTilesBothWays)
{
    const PlainImage floor = DrawWoodenFloor();
    EXPECT_EQ(floor.Width(), 512);
    EXPECT_EQ(floor.Height(), 512);
    EXPECT_TRUE(Seamless(floor, true));
    EXPECT_TRUE(Seamless(floor, false));
    // Wood: on average clearly redder than green, greener than blue.
    long red = 0, green = 0, blue = 0;
    for (int y = 0; y < 512; y += 7)
        for (int x = 0; x < 512; x += 5) {
            const Rgb c = floor.PixelColour(x, y);
            red += c.red;
            green += c.green;
            blue += c.blue;
        }
    EXPECT_GT(red, green * 13 / 10);
    EXPECT_GT(green, blue * 13 / 10);
}

TEST(DefaultMaps, TheWallpaperTilesAcrossAndStandsOnItsPanelling)
{
    const PlainImage wall = DrawWallpaper();
    EXPECT_EQ(wall.Width(), 512);
    EXPECT_EQ(wall.Height(), 256);
    EXPECT_TRUE(Seamless(wall, true));
    // Pale paper at the top, dark wood at the bottom.
    const Rgb top = wall.PixelColour(20, 10);
    const Rgb bottom = wall.PixelColour(20, 250);
    EXPECT_GT(top.green, 150);
    EXPECT_LT(bottom.green, 100);
}

TEST(DefaultMaps, AreWrittenAsBitmapsTheSceneReads)
{
    test::TempDir folder;
    const std::string maps = (folder.Path() / "Maps").string();
    ASSERT_EQ(WriteDefaultMaps(maps), "");
    for (const char* name : {"Default Floor.bmp", "Default Wall.bmp"}) {
        const DecodedImage decoded = DecodeWindowsBitmap(test::ReadBytes(maps + "/" + name));
        ASSERT_TRUE(decoded.ok()) << name << ": " << decoded.error;
        EXPECT_EQ(decoded.image.Width(), 512);
    }
    EXPECT_NE(WriteDefaultMaps("/proc/zelvane-cannot-be-here"), "");
}

} // namespace
} // namespace zelvane
