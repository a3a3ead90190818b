// Object definition records: normalisation of every stored length and version.

#include "objects/ObjectDefinition.h"
#include "tests/objects/DefinitionFixtures.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

TEST(ObjectDefinition, OldVersionsAreUpgradedWithTheirMissingWordsZeroed)
{
    std::vector<uint8_t> stored = Record(201, 136);
    std::fill(stored.begin() + 100, stored.end(), 0x11);
    const ObjectDefinition upgraded = ObjectDefinition::FromBytes(stored);
    EXPECT_EQ(upgraded.Version(), 138u);
    EXPECT_TRUE(upgraded.IsComplete());
    EXPECT_EQ(upgraded.Bytes()[199], 0x11);
    // Whole words go from the old length on: the odd last byte too.
    for (size_t i = 200; i < 216; ++i)
        EXPECT_EQ(upgraded.Bytes()[i], 0) << i;
    EXPECT_EQ(upgraded.StoredBytes().size(), 216u);
}

TEST(ObjectDefinition, OtherVersionsArePaddedForReadingButShortOnesAreIncomplete)
{
    std::vector<uint8_t> stored = Record(100, 100);
    PutWord(stored, 98, 0x3333);
    const ObjectDefinition shortOne = ObjectDefinition::FromBytes(stored);
    EXPECT_EQ(shortOne.Version(), 100u);
    EXPECT_EQ(shortOne.Word(49), 0x3333);
    EXPECT_EQ(shortOne.Word(107), 0);
    EXPECT_FALSE(shortOne.IsComplete());
    EXPECT_FALSE(ObjectDefinition::FromBytes(Record(214)).IsComplete());
    // Blocks too short to hold a version have none, so they are never upgraded.
    for (size_t size : {0u, 1u, 3u})
        EXPECT_FALSE(ObjectDefinition::FromBytes(std::vector<uint8_t>(size, 136)).IsComplete()) << size;
}
