#include "resfile/PathUtil.h"
#include "resfile/ResType.h"

#include <gtest/gtest.h>

using namespace zelvane;

TEST(PathUtil, SplitsFolderBaseAndExtension)
{
    PathParts p = SplitPath("C:\\Games\\objects/chair.v2.iff");
    EXPECT_EQ(p.folder, "C:\\Games\\objects/");
    EXPECT_EQ(p.base, "chair.v2");
    EXPECT_EQ(p.extension, ".iff");
    p = SplitPath("dir.d/noext");
    EXPECT_EQ(p.folder, "dir.d/");
    EXPECT_EQ(p.base, "noext");
    EXPECT_EQ(p.extension, "");
}

TEST(PathUtil, KeysIgnoreCaseSeparatorsAndDotSegments)
{
    EXPECT_EQ(NormalizePathKey("/Game\\Data/OBJECTS/Chair.IFF"), "/game/data/objects/chair.iff");
    EXPECT_EQ(NormalizePathKey("/a/./b/../c/"), "/a/c");
    EXPECT_EQ(NormalizePathKey("/"), "/");
}

TEST(Wildcard, MatchesLikeTheGameFolderListing)
{
    EXPECT_TRUE(WildcardMatch("chair.iff", "*.*"));
    EXPECT_FALSE(WildcardMatch("readme", "*.*"));
    EXPECT_TRUE(WildcardMatch("CHAIR.IFF", "*.iff"));
    EXPECT_TRUE(WildcardMatch("abc", "a?c"));
    EXPECT_FALSE(WildcardMatch("ac", "a?c"));
    EXPECT_TRUE(WildcardMatch("anything", "*"));
    EXPECT_TRUE(WildcardMatch("", "*"));
    EXPECT_FALSE(WildcardMatch("chair.iffx", "*.iff"));
    EXPECT_TRUE(WildcardMatch("a.b.c.iff", "*.*.iff"));
    EXPECT_TRUE(WildcardMatch("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*b")); // backtracking stays linear enough
}

TEST(ResType, NamesAndParsesCodes)
{
    EXPECT_EQ(kTypeOBJD, 0x4F424A44u);
    EXPECT_EQ(ResTypeName(kTypeSTRList), "STR#");
    EXPECT_EQ(ResTypeName(0x41000001), "A\\x00\\x00\\x01");
    ResType t = 0;
    ASSERT_TRUE(ParseResType("SPR2", t));
    EXPECT_EQ(t, kTypeSPR2);
    EXPECT_FALSE(ParseResType("TOOLONG", t));
    EXPECT_FALSE(ParseResType("", t));
}
