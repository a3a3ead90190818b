// 'PALT' palettes.

#include "objects/Palette.h"

#include <gtest/gtest.h>

using namespace zelvane;

TEST(Palette, DecodeChecksVersionAndCountAgainstTheData)
{
    Palette p;
    p[0] = {1, 2, 3};
    p[255] = {250, 251, 252};
    const std::vector<uint8_t> bytes = p.Encode();
    ASSERT_EQ(bytes.size(), 16u + 768u);
    EXPECT_EQ(Palette::Decode(bytes), p);

    std::vector<uint8_t> two(bytes.begin(), bytes.begin() + 16 + 6);
    two[4] = 2;
    two[5] = 0;
    const std::optional<Palette> partial = Palette::Decode(two);
    ASSERT_TRUE(partial);
    EXPECT_EQ((*partial)[0], p[0]);
    EXPECT_EQ((*partial)[255], Rgb{}); // past the count

    EXPECT_FALSE(Palette::Decode(std::span(bytes).first(bytes.size() - 1))); // 256 claimed, 255⅔ there
    std::vector<uint8_t> changed = bytes;
    changed[5] = 2; // 512 entries
    EXPECT_FALSE(Palette::Decode(changed));
    changed = bytes;
    changed[0] = 2; // version
    EXPECT_FALSE(Palette::Decode(changed));
}
