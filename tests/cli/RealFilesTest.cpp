// The real object files of ZELVANE_TESTDATA: their maps must agree with a scan.

#include "CliRunner.h"

#include "TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>

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

} // namespace

TEST(RealFiles, ListByMapAndByScanAgree)
{
    const std::filesystem::path folder = TestDataDir() / "iff";
    std::error_code ec;
    if (TestDataDir().empty() || !std::filesystem::is_directory(folder, ec))
        GTEST_SKIP() << "no real object files: ZELVANE_TESTDATA has no iff/ folder";

    std::vector<std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        if (item.path().extension() == ".iff")
            files.push_back(item.path().string());
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

} // namespace zelvane::test
