// Writing a file anew beside the old one: the target holds its old or its new
// contents, never a mix, and nothing is left behind.

#include "resfile/FileReplacement.h"
#include "resfile/ResErrors.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zelvane {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::vector<uint8_t> kOld = {'o', 'l', 'd'};
const std::vector<uint8_t> kNew = {'n', 'e', 'w', '!'};

size_t EntriesIn(const std::filesystem::path& folder)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(FileReplacement, CommitPutsTheStagedFileInPlaceOfTheTarget)
{
    TempDir dir;
    const std::string target = dir.File("chair.iff");
    WriteBytes(target, kOld);
    FileReplacement replacement(target);
    EXPECT_EQ(replacement.StagingPath(), dir.File(".chair.new.iff")) << "beside the target, with its extension";
    WriteBytes(replacement.StagingPath(), kNew);
    EXPECT_EQ(ReadBytes(target), kOld) << "the target is untouched until the commit";
    ASSERT_EQ(replacement.Commit(), kResOk);
    EXPECT_EQ(ReadBytes(target), kNew);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    EXPECT_EQ(replacement.Commit(), kErrShortRead) << "a replacement commits once";

    // A target that does not exist yet is created.
    FileReplacement fresh(dir.File("new.iff"));
    WriteBytes(fresh.StagingPath(), kNew);
    ASSERT_EQ(fresh.Commit(), kResOk);
    EXPECT_EQ(ReadBytes(dir.File("new.iff")), kNew);
}

TEST(FileReplacement, FailuresAndAbandonedWritesLeaveTheTargetAsItWasAndNothingBehind)
{
    TempDir dir;
    const std::string target = dir.File("chair.iff");
    WriteBytes(target, kOld);
    {
        FileReplacement abandoned(target);
        WriteBytes(abandoned.StagingPath(), kNew);
    }
    EXPECT_EQ(ReadBytes(target), kOld);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    // A staging file left by a crash is not taken for new contents.
    WriteBytes(dir.File(".chair.new.iff"), kNew);
    FileReplacement afterCrash(target);
    EXPECT_FALSE(std::filesystem::exists(afterCrash.StagingPath()));
    EXPECT_EQ(afterCrash.Commit(), kErrShortRead) << "nothing was written";
    EXPECT_EQ(ReadBytes(target), kOld);

    // A target the rename cannot replace: a folder.
    const std::string folder = dir.File("folder.iff");
    std::filesystem::create_directory(folder);
    FileReplacement onFolder(folder);
    WriteBytes(onFolder.StagingPath(), kNew);
    EXPECT_EQ(onFolder.Commit(), kErrShortWrite);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(EntriesIn(dir.Path()), 2u) << "the staging file is gone";
}

} // namespace
} // namespace zelvane
