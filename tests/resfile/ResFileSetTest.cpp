// Object files as sets: ".iff" with its ".spf" companion, and folders.

#include "resfile/CTGIffFile.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/CTGResDir.h"
#include "tests/resfile/IffTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

std::vector<uint8_t> SpriteFile()
{
    IffBuilder b;
    b.AddChunk(kTypeSPR2, 300, "in spf", Filled(40, 9), 0);
    b.AddChunk(kTypePALT, 1, "", Filled(12, 8));
    b.AddChunk(kTypeOBJD, 128, "shadowed", Filled(216, 7));
    return b.Build(IffBuilder::Map::Written);
}

} // namespace

TEST(ObjResFileSet, LooksUpBothMembersAndAddsByType)
{
    TempDir dir;
    WriteBytes(dir.File("chair.iff"), SmallObjectFile(IffBuilder::Map::Written));
    WriteBytes(dir.File("chair.spf"), SpriteFile());
    CTGObjResFileSet set;
    ASSERT_EQ(set.OpenContainer(dir.File("chair.iff")), kResOk);
    ASSERT_EQ(set.MemberCount(), 2u);
    std::string path;
    set.GetFilePath(path);
    EXPECT_EQ(path, dir.File("chair"));

    // The ".iff" member answers first.
    ResHandle* objd = set.GetResource(kTypeOBJD, 128, nullptr);
    ASSERT_NE(objd, nullptr);
    EXPECT_EQ(objd->Data()[0], 1);
    EXPECT_NE(set.GetResource(kTypeSPR2, 300, nullptr), nullptr);
    EXPECT_EQ(set.CountResources(kTypeSPR2), 2);
    EXPECT_EQ(set.CountResources(kTypeOBJD), 2);
    std::string name;
    set.GetResName(set.GetIndResource(kTypeSPR2, 2, nullptr), name);
    EXPECT_EQ(name, "in spf");
    EXPECT_EQ(set.GetIndResource(kTypeSPR2, 3, nullptr), nullptr);
    EXPECT_EQ(set.GetLastError(), kErrNoSuchResource);
    EXPECT_EQ(set.CountTypes(), 4); // OBJD, STR#, SPR2, PALT without duplicates

    EXPECT_TRUE(set.CanAddType(kTypeSPR2));
    ResHandle* sprite = ResHandle::CreateFrom(Filled(16, 1));
    ASSERT_EQ(set.AddResource(sprite, kTypeSPR2, 301, "new sprite", ResConverted::No), kResOk);
    ResHandle* objd2 = ResHandle::CreateFrom(Filled(216, 2));
    ASSERT_EQ(set.AddResource(objd2, kTypeOBJD, 129, "new object", ResConverted::No), kResOk);
    ASSERT_EQ(set.CloseContainer(), kResOk);

    CTGIffFile iff, spf;
    ASSERT_EQ(iff.OpenContainer(dir.File("chair.iff")), kResOk);
    ASSERT_EQ(spf.OpenContainer(dir.File("chair.spf")), kResOk);
    EXPECT_NE(spf.GetResource(kTypeSPR2, 301, nullptr), nullptr);
    EXPECT_EQ(iff.GetResource(kTypeSPR2, 301, nullptr), nullptr);
    EXPECT_NE(iff.GetResource(kTypeOBJD, 129, nullptr), nullptr);
    EXPECT_EQ(spf.GetResource(kTypeOBJD, 129, nullptr), nullptr);
}

TEST(ObjResFileSet, WithoutACompanionEverythingGoesToTheIff)
{
    TempDir dir;
    WriteBytes(dir.File("lamp.iff"), SmallObjectFile(IffBuilder::Map::Written));
    CTGObjResFileSet set;
    ASSERT_EQ(set.OpenContainer(dir.File("lamp.iff")), kResOk);
    ASSERT_EQ(set.MemberCount(), 1u);
    ResHandle* sprite = ResHandle::CreateFrom(Filled(16, 1));
    ASSERT_EQ(set.AddResource(sprite, kTypeSPR2, 301, "", ResConverted::No), kResOk);
    // Replacing through the set removes the old resource first.
    ResHandle* replacement = ResHandle::CreateFrom(Filled(16, 2));
    ASSERT_EQ(set.AddResource(replacement, kTypeSPR2, 301, "", ResConverted::No), kResOk);
    EXPECT_EQ(set.GetResource(kTypeSPR2, 301, nullptr), replacement);
    std::string name = "";
    set.MakeUniqueName(kTypeSPR2, name);
    EXPECT_EQ(name, "anonymous 0");
    ASSERT_EQ(set.CloseContainer(), kResOk);

    CTGIffFile iff;
    ASSERT_EQ(iff.OpenContainer(dir.File("lamp.iff")), kResOk);
    EXPECT_EQ(iff.CountResources(kTypeSPR2), 2);
    EXPECT_EQ(iff.GetResource(kTypeSPR2, 301, nullptr)->Data()[0], 2);
}

TEST(ObjResFileSet, AddingWithAnAttributeKeepsTheUntaggedResource)
{
    TempDir dir;
    WriteBytes(dir.File("t.iff"), SmallObjectFile(IffBuilder::Map::Written));
    CTGObjResFileSet set;
    ASSERT_EQ(set.OpenContainer(dir.File("t.iff")), kResOk);
    ResHandle* tagged = ResHandle::CreateFrom(Filled(4, 4));
    ASSERT_EQ(set.AddResourceEx(tagged, kTypeOBJD, 128, "", 7, ResConverted::No), kResOk);
    EXPECT_EQ(set.GetResourceEx(kTypeOBJD, 128, 7, nullptr), tagged);
    ResHandle* plain = set.GetResource(kTypeOBJD, 128, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->Size(), 216u);
}

TEST(ObjResFileSet, NothingToOpenFailsCleanly)
{
    TempDir dir;
    CTGObjResFileSet set;
    EXPECT_EQ(set.OpenContainer(dir.File("none.iff")), kErrAlreadyOpen); // the ".dir" member tried last
    EXPECT_FALSE(set.IsOpen());
    EXPECT_EQ(set.GetResource(kTypeOBJD, 1, nullptr), nullptr);
    EXPECT_EQ(set.GetLastError(), kErrNoSuchResource);
}

TEST(ResDir, ServesAFolderReadOnlyWithTypesFromExtensions)
{
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "thing.dir" / "sub");
    WriteBytes(dir.File("thing.dir/a.bmp"), Filled(5, 1));
    WriteBytes(dir.File("thing.dir/b.bmp"), Filled(6, 2));
    WriteBytes(dir.File("thing.dir/readme.text"), Filled(1, 3)); // extension too long
    WriteBytes(dir.File("thing.dir/c.x"), Filled(2, 4));
    CTGObjResFileSet set;
    ASSERT_EQ(set.OpenContainer(dir.File("thing.iff")), kResOk);
    EXPECT_FALSE(set.IsWritable());
    const ResType bmp = MakeResType("bmp\0");
    EXPECT_EQ(set.CountResources(bmp), 2);
    ResHandle* b = set.GetNamedResource(bmp, "b.bmp", nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Size(), 6u);
    int16_t id = 0;
    set.GetResId(b, id);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(CTGResDir::TypeOfName("c.x"), 0x78000000u);
    EXPECT_EQ(set.CountTypes(), 2);
    ResHandle* extra = ResHandle::Create(1);
    EXPECT_EQ(set.AddResource(extra, bmp, 1, "", ResConverted::No), kErrNoWritableMember);
    ResHandle::Dispose(extra);
    // Nothing could take the replacement, so the old resource is still there.
    EXPECT_NE(set.GetResource(bmp, 1, nullptr), nullptr);
}

TEST(ObjResFileSet, ReadOnlyOpensNeverWrite)
{
    TempDir dir;
    WriteBytes(dir.File("r.iff"), SmallObjectFile(IffBuilder::Map::Written));
    const std::vector<uint8_t> before = ReadBytes(dir.File("r.iff"));
    {
        CTGObjResFileSet set;
        set.SetOpenReadOnly(true);
        ASSERT_EQ(set.OpenContainer(dir.File("r.iff")), kResOk);
        EXPECT_FALSE(set.IsWritable());
        ResHandle* objd = set.GetResource(kTypeOBJD, 128, nullptr);
        ASSERT_NE(objd, nullptr);
        EXPECT_EQ(set.WriteResource(objd), kErrNoSuchName); // no writable member was asked
        EXPECT_EQ(set.CloseContainer(), kResOk);
    }
    EXPECT_EQ(ReadBytes(dir.File("r.iff")), before);
}
