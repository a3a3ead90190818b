// The plain image type: bitmap row layout and nearest-neighbour resampling.

#include "objects/PlainImage.h"

#include <gtest/gtest.h>

using namespace zelvane;

TEST(PlainImage, RowsArePaddedToFourBytesAndStoredBottomUp)
{
    PlainImage image(3, 2, 3, 0xAB);
    EXPECT_EQ(image.Stride(), 12u);
    ASSERT_EQ(image.Bits().size(), 24u);
    image.Row(0)[0] = 0x10; // blue
    image.Row(0)[2] = 0x30; // red
    EXPECT_EQ(image.Bits()[12], 0x10); // the top row is stored last
    EXPECT_EQ(image.PixelColour(0, 0), (Rgb{0x30, 0xAB, 0x10}));
    EXPECT_EQ(PlainImage(5, 1, 1).Stride(), 8u);
}

TEST(PlainImage, ResamplingTakesThePixelUnderEachCentre)
{
    PlainImage source(4, 2, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            source.Row(y)[static_cast<size_t>(x)] = static_cast<uint8_t>(10 * y + x);
    source.SetPalette(Palette::Grey());

    const PlainImage larger = source.Resampled(8, 4);
    EXPECT_EQ(larger.PixelByte(1, 1), 0);
    EXPECT_EQ(larger.PixelByte(2, 2), 11);
    EXPECT_EQ(larger.PixelByte(7, 3), 13);
    EXPECT_EQ(larger.GetPalette(), Palette::Grey());
    const PlainImage smaller = source.Resampled(3, 1); // centres 0.67, 2 and 3.33 of 4
    EXPECT_EQ(std::vector<uint8_t>(smaller.Row(0).begin(), smaller.Row(0).end()), (std::vector<uint8_t>{10, 12, 13}));
}
