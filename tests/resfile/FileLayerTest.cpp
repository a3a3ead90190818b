// CTGFile: the codes every operation answers.

#include "resfile/CTGFile.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/FileFaults.h"
#include "resfile/ResErrors.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

using namespace zelvane;
using zelvane::test::TempDir;

TEST(FileLayer, ClosedFilesAnswerNotOpenAndChangeNothing)
{
    CTGFile file;
    char b = 0;
    uint64_t size = 0;
    std::string path;
    EXPECT_EQ(file.Close(), kErrNotOpen);
    EXPECT_EQ(file.Read(&b, 1), kErrNotOpen);
    EXPECT_EQ(file.Write(&b, 1), kErrNotOpen);
    EXPECT_EQ(file.Seek(0), kErrNotOpen);
    EXPECT_EQ(file.GetEOF(size), kErrNotOpen);
    EXPECT_EQ(file.SetEOF(0), kErrNotOpen);
    EXPECT_EQ(file.Flush(), kErrNotOpen);
    EXPECT_EQ(file.GetPath(path), kErrNotOpen);
}

TEST(FileLayer, CreateOpenReadWriteTruncateDelete)
{
    TempDir dir;
    const std::string path = dir.File("f.bin");
    CTGFile file;
    EXPECT_EQ(file.Open(path), kErrCannotOpen);
    EXPECT_EQ(file.Delete(path), kErrDeleteMissing);
    ASSERT_EQ(file.Create(path), kResOk);
    EXPECT_FALSE(file.IsOpen()); // a new file is not left open
    EXPECT_EQ(file.Create(path), kErrCreateExists);
    ASSERT_EQ(file.Open(path), kResOk);
    EXPECT_EQ(file.Open(path), kErrAlreadyOpen);
    EXPECT_EQ(file.Create(dir.File("other")), kErrAlreadyOpen);
    EXPECT_TRUE(file.IsWritable());
    EXPECT_EQ(file.WriteAt(0, "hello", 5), kResOk);
    EXPECT_EQ(file.Seek(6), kErrShortRead); // beyond the end
    char text[8] = {};
    EXPECT_EQ(file.ReadAt(1, text, 4), kResOk);
    EXPECT_STREQ(text, "ello");
    EXPECT_EQ(file.ReadAt(3, text, 4), kErrShortRead);
    EXPECT_EQ(file.SetEOF(2), kResOk);
    uint64_t size = 0;
    EXPECT_EQ(file.GetEOF(size), kResOk);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(file.Close(), kResOk);
    EXPECT_EQ(file.Delete(path), kResOk);
}

TEST(FileLayer, InjectedFaultsFailTheChosenCallOnly)
{
    TempDir dir;
    CTGFile file;
    ASSERT_EQ(file.Create(dir.File("f")), kResOk);
    ASSERT_EQ(file.Open(dir.File("f")), kResOk);
    FileFaults::Arm(2, false);
    EXPECT_EQ(file.WriteAt(0, "a", 1), kResOk);
    EXPECT_EQ(file.Flush(), kErrCannotOpen);
    EXPECT_EQ(file.WriteAt(1, "b", 1), kResOk);
    FileFaults::Arm(1, true);
    EXPECT_EQ(file.WriteAt(2, "c", 1), kErrShortWrite);
    EXPECT_EQ(file.SetEOF(0), kErrCannotOpen);
    FileFaults::Disarm();
    EXPECT_EQ(file.SetEOF(0), kResOk);
}
