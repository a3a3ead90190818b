#include "objects/GuidSource.h"

#include <gtest/gtest.h>

#include <set>

using namespace zelvane;

TEST(GuidSource, DrawsAgainUntilTheGuidIsFreeAndNotZero)
{
    std::set<uint32_t> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(GuidSource::NewGuid());
    EXPECT_GT(seen.size(), 190u); // random, not a counter or a constant

    int asked = 0;
    const uint32_t guid = GuidSource::NewUnusedGuid([&](uint32_t) { return ++asked < 5; });
    EXPECT_EQ(asked, 5);
    EXPECT_NE(guid, 0u);
    EXPECT_EQ(GuidSource::NewUnusedGuid([](uint32_t) { return true; }, 10), 0u);
}
