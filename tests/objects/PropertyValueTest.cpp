// Value conversions: decimal text in and out, and edit box texts.

#include "objects/PropertyValue.h"

#include <gtest/gtest.h>

using namespace zelvane;

TEST(PropertyValue, DecimalTextIsReadUpToTheFirstNonDigitAndWraps)
{
    EXPECT_EQ(ParseNumber("12abc"), 12);
    EXPECT_EQ(ParseNumber("abc"), 0);
    EXPECT_EQ(ParseNumber(" \t-5"), -5);
    EXPECT_EQ(ParseNumber("+-7"), 0);
    EXPECT_EQ(ParseNumber("99999999999999999999"), 1661992959); // 10^20 - 1 modulo 2^32
    // Only the first 255 characters count.
    EXPECT_EQ(ParseNumber(std::string(254, ' ') + "98"), 9);
}

TEST(PropertyValue, EditBoxTextsAreClippedAndEndBeforeNul)
{
    EXPECT_EQ(ClipText(std::string(300, 'x')).size(), 255u);
    EXPECT_EQ(ClipText(std::string(300, 'x'), kMaxResourceName).size(), 63u);
    EXPECT_EQ(ClipText(std::string("ab\0cd", 5)), "ab");
    // UTF-8 text never keeps part of a character: "é" is two bytes, "…" three.
    EXPECT_EQ(ClipUtf8Text(std::string(254, 'x') + "é!"), std::string(254, 'x'));
    EXPECT_EQ(ClipUtf8Text(std::string(253, 'x') + "é!"), std::string(253, 'x') + "é");
    EXPECT_EQ(ClipUtf8Text(std::string(253, 'x') + "…"), std::string(253, 'x'));
    EXPECT_EQ(ClipUtf8Text(std::string(252, 'x') + "…"), std::string(252, 'x') + "…");
}
