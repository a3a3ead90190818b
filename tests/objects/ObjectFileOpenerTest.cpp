// Opening an object file the one way the program does: reading never opens a
// file for writing; a change finds, checks and places resources.

#include "objects/ObjectFileOpener.h"
#include "resfile/IffBuilder.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<uint8_t> Iff(ResType type, int16_t id)
{
    IffBuilder builder;
    builder.AddChunk(type, id, "thing", std::vector<uint8_t>(20, 7));
    return builder.Build(IffBuilder::Map::Written);
}

class ObjectFileOpenerTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(iff_, Iff(kTypeOBJD, 128));
        WriteBytes(dir_.File("chair.spf"), Iff(kTypeSPR2, 200));
    }

    TempDir dir_;
    const std::string iff_ = dir_.File("chair.iff");
};

TEST_F(ObjectFileOpenerTest, ReadingOpensEveryMemberReadOnlyAndChangeOpensTheSetForWriting)
{
    const std::vector<uint8_t> before = ReadBytes(iff_);
    ObjectFileOpener reader;
    std::string error;
    ASSERT_TRUE(reader.Open(iff_, {}, error)) << error;
    ASSERT_EQ(reader.Members().size(), 2u);
    for (CTGResFile* member : reader.Members())
        EXPECT_EQ(ObjectFileOpener::WhyReadOnly(*member), "is read-only") << ObjectFileOpener::PathOf(*member);
    std::string subject;
    EXPECT_EQ(reader.Route(kTypeBHAV, subject, error), nullptr);
    EXPECT_EQ(subject, iff_);
    EXPECT_EQ(reader.Close(), kResOk);
    EXPECT_EQ(ReadBytes(iff_), before);

    ObjectFileOpener alone;
    ASSERT_TRUE(alone.Open(iff_, {.companions = Companions::Excluded}, error)) << error;
    EXPECT_EQ(alone.Members().size(), 1u);
    std::unique_ptr<CTGResFile> taken = alone.TakeContainer();
    EXPECT_TRUE(alone.Members().empty());
    EXPECT_EQ(taken->CountResources(kTypeOBJD), 1);

    ObjectFileOpener changer;
    ASSERT_TRUE(changer.Open(iff_, {.purpose = OpenPurpose::Change}, error)) << error;
    // Sprites go to the ".spf" companion, as the editor's set places them.
    EXPECT_EQ(ObjectFileOpener::PathOf(*changer.Route(kTypeSPR2, subject, error)), dir_.File("chair.spf"));
    ObjectFileOpener::Found found;
    ASSERT_TRUE(changer.FindForChange(kTypeSPR2, 200, 0, found, subject, error)) << error;
    EXPECT_FALSE(changer.FindForChange(kTypeSPR2, 201, 0, found, subject, error));
    EXPECT_EQ(error, "no such resource (SPR2 201)");
    EXPECT_TRUE(changer.IdIsFree(kTypeSPR2, 201, 0, subject, error));
    EXPECT_FALSE(changer.IdIsFree(kTypeOBJD, 128, 0, subject, error));
    EXPECT_EQ(subject, iff_);
    EXPECT_EQ(error, "OBJD 128 already exists");
    EXPECT_EQ(changer.Close(), kResOk);
}

TEST_F(ObjectFileOpenerTest, WhatCannotBeOpenedSaysWhyInAFewWords)
{
    std::string error;
    ObjectFileOpener opener;
    EXPECT_FALSE(opener.Open(dir_.File("none.iff"), {}, error));
    EXPECT_EQ(error, "no such file");
    std::filesystem::create_directory(dir_.File("folder.iff"));
    EXPECT_FALSE(opener.Open(dir_.File("folder.iff"), {}, error));
    EXPECT_EQ(error, "is a folder, not an object file");
    // The file named must open by itself, even where its companion would.
    WriteBytes(iff_, {'n', 'o', 't', ' ', 'I', 'F', 'F'});
    EXPECT_FALSE(opener.Open(iff_, {}, error));
    EXPECT_EQ(error, ResErrorText(kErrNotIff));
}

} // namespace
} // namespace zelvane
