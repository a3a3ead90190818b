// Object files made by the game's community: they must open, list the same
// resources by map and by scan, and every resource must load.

#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGIffFile.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/CTGStringList.h"
#include "tests/resfile/IffTestFiles.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;

namespace {

std::vector<std::string> RealObjectFiles()
{
    std::vector<std::string> files;
    const std::filesystem::path dir = test::TestDataDir() / "iff";
    if (test::TestDataDir().empty() || !std::filesystem::is_directory(dir))
        return files;
    for (const auto& item : std::filesystem::directory_iterator(dir))
        if (item.path().extension() == ".iff")
            files.push_back(item.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(RealFiles, OpenByMapAndScanAlikeAndLoadEveryResource)
{
    const std::vector<std::string> files = RealObjectFiles();
    if (files.empty())
        GTEST_SKIP() << "real object files not found (set ZELVANE_TESTDATA to shared/testdata)";
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        CTGIffFile byMap, byScan;
        ASSERT_EQ(byMap.OpenContainer(path), kResOk);
        ASSERT_EQ(byScan.OpenContainer(path, IndexMode::ForceScan), kResOk);
        const IffIndex& a = byMap.Index();
        const IffIndex& b = byScan.Index();
        ASSERT_EQ(a.groups.size(), b.groups.size());
        size_t resources = 0;
        for (size_t g = 0; g < a.groups.size(); ++g) {
            // The map may order types differently from the file; compare per type.
            const IffTypeGroup* other = b.FindGroup(a.groups[g].type);
            ASSERT_NE(other, nullptr) << ResTypeName(a.groups[g].type);
            ASSERT_EQ(a.groups[g].entries.size(), other->entries.size());
            for (size_t e = 0; e < a.groups[g].entries.size(); ++e) {
                const IffEntry& x = a.groups[g].entries[e];
                const auto match = std::find_if(other->entries.begin(), other->entries.end(),
                                                [&](const IffEntry& y) { return y.offset == x.offset; });
                ASSERT_NE(match, other->entries.end());
                EXPECT_EQ(match->id, x.id);
                EXPECT_EQ(match->label, x.label);
                EXPECT_EQ(match->diskFlags, x.diskFlags);
                ResHandle* data = byMap.GetIndResource(a.groups[g].type, static_cast<int32_t>(e + 1), nullptr);
                ASSERT_NE(data, nullptr) << ResTypeName(a.groups[g].type) << " #" << x.id;
                ++resources;
            }
        }
        EXPECT_GT(resources, 0u);

        CTGObjResFileSet set;
        ASSERT_EQ(set.OpenContainer(path), kResOk);
        EXPECT_NE(set.GetIndResource(kTypeOBJD, 1, nullptr), nullptr);
    }
}

TEST(RealFiles, StringListsAndDrawGroupsDecode)
{
    const std::vector<std::string> files = RealObjectFiles();
    if (files.empty())
        GTEST_SKIP() << "real object files not found (set ZELVANE_TESTDATA to shared/testdata)";
    size_t lists = 0, groups = 0, laterLists = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        CTGIffFile file;
        ASSERT_EQ(file.OpenContainer(path), kResOk);
        for (const ResType type : {kTypeSTRList, kTypeCTSS}) {
            const IffTypeGroup* group = file.Index().FindGroup(type);
            for (size_t i = 0; group && i < group->entries.size(); ++i) {
                CTGStringList list;
                list.Configure(&file, static_cast<int16_t>(group->entries[i].id), type, CaretText::No, 0);
                const int32_t result = list.Load(LoadLanguages::All, FillEmptySlots::No);
                ASSERT_EQ(result, kResOk) << ResTypeName(type) << " #" << group->entries[i].id;
                laterLists += list.Layout() == StringListLayout::LanguageSets;
                EXPECT_GT(list.Count(0), 0);
                for (int32_t n = 1; n <= list.Count(0); ++n)
                    EXPECT_EQ(list.GetString(n, 0)->find('\xA3'), std::string::npos) << "filler read as text";
                ++lists;
            }
        }
        const IffTypeGroup* dgrp = file.Index().FindGroup(kTypeDGRP);
        for (size_t i = 0; dgrp && i < dgrp->entries.size(); ++i) {
            CTGDrawGroup group;
            ASSERT_EQ(group.Load(file, static_cast<int16_t>(dgrp->entries[i].id)), kResOk);
            EXPECT_GT(group.ImageCount(), 0u);
            ++groups;
        }
    }
    EXPECT_GT(lists, 0u);
    EXPECT_GT(groups, 0u);
    // Layout -4: the rug's STR# 301 and CTSS 2004, and two STR# of the later variant.
    EXPECT_EQ(laterLists, 4u);
}

TEST(RealFiles, ALiveChunkFlaggedFreeSurvivesAnAddedResource)
{
    // Old tools and old disks leave the free flag on chunks the map still
    // lists. Tried on every listed chunk of every file that has a map.
    const std::vector<std::string> files = RealObjectFiles();
    if (files.empty())
        GTEST_SKIP() << "real object files not found (set ZELVANE_TESTDATA to shared/testdata)";
    test::TempDir dir;
    const std::string trial = dir.File("trial.iff");
    const std::vector<uint8_t> added(16, 0x5A);
    size_t trials = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const auto before = test::ReadEveryResource(path);
        ASSERT_TRUE(before);
        CTGIffFile probe;
        ASSERT_EQ(probe.OpenContainer(path), kResOk);
        if (probe.IndexSourceUsed() != IndexSource::Map)
            continue; // without a map the flag hides the chunk from every reader
        const std::vector<uint8_t> original = test::ReadBytes(path);
        for (const auto& [key, readout] : *before) {
            SCOPED_TRACE(ResTypeName(std::get<0>(key)) + " " + std::to_string(std::get<1>(key)) + " flagged");
            std::vector<uint8_t> bytes = original;
            bytes.at(readout.offset + 11) |= kChunkFlagFree; // low byte of the big-endian flags
            test::WriteBytes(trial, bytes);
            CTGIffFile file;
            ASSERT_EQ(file.OpenContainer(trial), kResOk);
            ResHandle* handle = ResHandle::CreateFrom(added);
            ASSERT_EQ(file.AddResource(handle, MakeResType("ZLVT"), 1, "added", ResConverted::Yes), kResOk);
            ASSERT_EQ(file.WriteResource(handle), kResOk);
            ASSERT_EQ(file.CloseContainer(), kResOk);

            const auto after = test::ReadEveryResource(trial);
            ASSERT_TRUE(after);
            for (const auto& [kept, old] : *before) {
                const auto now = after->find(kept);
                ASSERT_NE(now, after->end()) << ResTypeName(std::get<0>(kept)) << " " << std::get<1>(kept) << " lost";
                ASSERT_EQ(now->second.data, old.data) << ResTypeName(std::get<0>(kept)) << " " << std::get<1>(kept);
            }
            ASSERT_EQ(after->at({MakeResType("ZLVT"), 1, 0}).data, added);
            ++trials;
        }
    }
    if (trials == 0)
        GTEST_SKIP() << "no real object file with a resource map";
}
