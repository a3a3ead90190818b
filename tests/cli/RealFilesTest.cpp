// The real object files of ZELVANE_TESTDATA: their maps must agree with a
// scan, and their string lists and draw groups must read.

#include "bytes/ByteReader.h"
#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>

namespace zelvane::test {

namespace {

// Sorted dumps of every resource, so map order and file order compare equal.
std::vector<std::string> Resources(const nlohmann::json& listing)
{
    std::vector<std::string> resources;
    for (const auto& member : listing["members"])
        for (auto resource : member["resources"]) {
            resource.erase("index"); // the place within a type follows the index's order
            resources.push_back(member["path"].get<std::string>() + " " + resource.dump());
        }
    std::sort(resources.begin(), resources.end());
    return resources;
}

std::filesystem::path RealFolder()
{
    std::error_code ec;
    const std::filesystem::path folder = TestDataDir() / "iff";
    return !TestDataDir().empty() && std::filesystem::is_directory(folder, ec) ? folder : std::filesystem::path();
}

std::vector<std::string> RealFiles()
{
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(RealFolder()))
        if (item.path().extension() == ".iff")
            files.push_back(item.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

nlohmann::json RunJson(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return nlohmann::json::parse(result.out, nullptr, false);
}

// Ids of the file's resources of one type.
std::vector<int> IdsOf(const std::string& file, const std::string& type)
{
    std::vector<int> ids;
    const nlohmann::json listing = RunJson({"list", "--json", file});
    for (const auto& member : listing["members"])
        for (const auto& resource : member["resources"])
            if (resource["type"] == type)
                ids.push_back(resource["id"]);
    return ids;
}

std::vector<uint8_t> Dump(const std::string& file, const std::string& type, int id)
{
    const CliResult result = RunCli({"dump", file, "-t", type, "--id", std::to_string(id)});
    EXPECT_EQ(result.status, 0) << result.err;
    return {result.out.begin(), result.out.end()};
}

// A little-endian number of 2 or 4 bytes; 0 past the end.
uint32_t Le(const std::vector<uint8_t>& bytes, size_t at, size_t size)
{
    ByteReader r(bytes);
    r.seek(at);
    return size == 2 ? r.u16le() : r.u32le();
}



} // namespace

TEST(RealFiles, ListByMapAndByScanAgree)
{
    if (RealFolder().empty())
        GTEST_SKIP() << "no real object files: ZELVANE_TESTDATA has no iff/ folder";
    const std::vector<std::string> files = RealFiles();
    ASSERT_FALSE(files.empty());
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const CliResult byMap = RunCli({"list", "--json", file});
        const CliResult byScan = RunCli({"list", "--json", "--scan", file});
        ASSERT_EQ(byMap.status, 0) << byMap.err;
        ASSERT_EQ(byScan.status, 0) << byScan.err;
        const std::vector<std::string> mapped = Resources(nlohmann::json::parse(byMap.out));
        EXPECT_FALSE(mapped.empty());
        EXPECT_EQ(mapped, Resources(nlohmann::json::parse(byScan.out)));
    }
}

TEST(RealFiles, EveryStringListOfTheSlippersReads)
{
    if (RealFolder().empty())
        GTEST_SKIP() << "no real object files: ZELVANE_TESTDATA has no iff/ folder";
    const std::string file = (RealFolder() / "k8essbedroomslippersts.iff").string();
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << "k8essbedroomslippersts.iff is not among the real files";

    size_t lists = 0;
    for (const std::string type : {"STR#", "CTSS"})
        for (const int id : IdsOf(file, type)) {
            SCOPED_TRACE(type + " " + std::to_string(id));
            ++lists;
            const nlohmann::json list = RunJson({"strings", "--json", file, "-t", type, "--id", std::to_string(id)});
            EXPECT_EQ(list["type"], type);
            size_t total = 0;
            for (const auto& language : list["languages"])
                total += language["strings"].size();
            EXPECT_GT(total, 0u);
            // These lists are stored in layout -3 with each language's records
            // together, so every record counted in the header is shown once.
            const std::vector<uint8_t> raw = Dump(file, type, id);
            ASSERT_EQ(Le(raw, 0, 2), 0xFFFDu);
            EXPECT_EQ(total, Le(raw, 2, 2));
        }
    EXPECT_EQ(lists, 3u);
    const nlohmann::json catalog = RunJson({"strings", "--json", file, "-t", "CTSS", "--id", "2000"});
    EXPECT_EQ(catalog["languages"][0]["strings"][0]["text"], "\"Essentials\" Slippers");

    // The later variant's STR# layout -4 is refused with a reason, not misread.
    const std::string later = (RealFolder() / "fso_firewater.iff").string();
    if (std::filesystem::exists(later)) {
        const CliResult result = RunCli({"strings", later, "--id", "128"});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "zelvane-cli: " + later + ": resource data in a layout that cannot be read (STR# id 128)\n");
    }
}

TEST(RealFiles, EveryDrawGroupReadsAndNamesSpritesOfItsFile)
{
    if (RealFolder().empty())
        GTEST_SKIP() << "no real object files: ZELVANE_TESTDATA has no iff/ folder";
    size_t groups = 0;
    for (const std::string& file : RealFiles()) {
        std::set<int> sprites;
        for (const std::string type : {"SPR#", "SPR2"})
            for (const int id : IdsOf(file, type))
                sprites.insert(id);
        for (const int id : IdsOf(file, "DGRP")) {
            SCOPED_TRACE(file + " DGRP " + std::to_string(id));
            const std::vector<uint8_t> raw = Dump(file, "DGRP", id);
            const uint32_t version = Le(raw, 0, 2);
            const CliResult result = RunCli({"drawgroup", "--json", file, "--id", std::to_string(id)});
            if (version < 20000 || version > 20004) {
                // A later variant: read or refused in one line, never a crash.
                EXPECT_TRUE(result.status == 0 || result.ErrLines().size() == 1) << result.err;
                continue;
            }
            ++groups;
            ASSERT_EQ(result.status, 0) << result.err;
            const nlohmann::json group = nlohmann::json::parse(result.out);
            EXPECT_EQ(group["version"], version);
            const uint32_t stored = version <= 20002 ? Le(raw, 2, 2) : Le(raw, 2, 4);
            EXPECT_EQ(group["images"].size(), stored);
            for (const auto& image : group["images"])
                for (const auto& sprite : image["sprites"])
                    EXPECT_EQ(sprites.count(sprite["spriteId"]), 1u) << sprite.dump();
        }
    }
    EXPECT_GT(groups, 0u);
}

} // namespace zelvane::test
