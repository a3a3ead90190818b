// `list` and `dump` on object files built here, and what bad input gets.

#include "resfile/FarBuilder.h"
#include "resfile/IffBuilder.h"
#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <tuple>

namespace zelvane::test {

namespace {

std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

const std::vector<uint8_t> kObjd = Bytes("object definition bytes");
const std::vector<uint8_t> kStrings = Bytes("\x01\x02string list");
const std::vector<uint8_t> kBhav(300, 0x5A);
const std::vector<uint8_t> kSprite = Bytes("sprite frames in the companion");

// An object file with a free chunk between resources and one resource that
// carries attribute 7 in the high byte of its flags.
std::vector<uint8_t> ChairIff(IffBuilder::Map map)
{
    IffBuilder iff;
    iff.AddChunk(kTypeOBJD, 128, "Chair", kObjd);
    iff.AddChunk(kTypeSTRList, 129, "labels", kStrings, 0);
    iff.AddFreeChunk(200);
    iff.AddChunk(kTypeBHAV, 4096, "main", kBhav, 0x0710);
    iff.AddChunk(kTypeSPR2, 1, "in the iff", Bytes("tiny"));
    return iff.Build(map);
}

std::vector<uint8_t> ChairSpf()
{
    IffBuilder spf;
    spf.AddChunk(kTypeSPR2, 3128, "Chair", kSprite, 0);
    return spf.Build(IffBuilder::Map::Written);
}

using Row = std::tuple<std::string, int, std::string, nlohmann::json, int, int, nlohmann::json>;

// A member's resources as comparable rows, sorted so map order and file order compare equal.
std::vector<Row> Rows(const nlohmann::json& member)
{
    std::vector<Row> rows;
    for (const auto& r : member["resources"])
        rows.emplace_back(r["type"], r["id"], r["name"], r["size"], r["flags"], r["attribute"], r["offset"]);
    std::sort(rows.begin(), rows.end());
    return rows;
}

nlohmann::json ListJson(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return nlohmann::json::parse(result.out, nullptr, false);
}

} // namespace

TEST(ListCommand, MapAndScanListTheSameResourcesWithTheirSizesFlagsAndAttributes)
{
    TempDir dir;
    const std::string file = dir.File("chair.iff");
    WriteBytes(file, ChairIff(IffBuilder::Map::Written));

    const nlohmann::json byMap = ListJson({"list", "--json", file});
    const nlohmann::json byScan = ListJson({"list", "--scan", "--json", file});
    ASSERT_EQ(byMap["members"].size(), 1u);
    ASSERT_EQ(byScan["members"].size(), 1u);
    EXPECT_EQ(byMap["members"][0]["index"], "map");
    EXPECT_EQ(byScan["members"][0]["index"], "scan");

    const std::vector<Row> rows = Rows(byMap["members"][0]);
    EXPECT_EQ(rows, Rows(byScan["members"][0]));
    // The free chunk is no resource and the map chunk stays hidden.
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], Row("BHAV", 4096, "main", kBhav.size(), 0x0710, 7, 64 + 76 + 23 + 76 + 13 + 200));
    EXPECT_EQ(rows[1], Row("OBJD", 128, "Chair", kObjd.size(), 0x10, 0, 64));
    EXPECT_EQ(rows[3], Row("STR#", 129, "labels", kStrings.size(), 0, 0, 64 + 76 + 23));

    // A file without a map is scanned even when the map is preferred.
    WriteBytes(file, ChairIff(IffBuilder::Map::None));
    const nlohmann::json unmapped = ListJson({"list", "--json", file});
    EXPECT_EQ(unmapped["members"][0]["index"], "scan");
    EXPECT_EQ(Rows(unmapped["members"][0]), rows);

    // People get the flags in hex.
    const std::string table = RunCli({"list", file}).out;
    const size_t row = table.find("BHAV ");
    ASSERT_NE(row, std::string::npos) << table;
    const std::string line = table.substr(row, table.find('\n', row) - row);
    EXPECT_NE(line.find(" 300  0x0710 "), std::string::npos) << line;
}

TEST(ListCommand, ObjectWithSpriteCompanionListsBothMembersInEitherIndexMode)
{
    TempDir dir;
    WriteBytes(dir.File("chair.iff"), ChairIff(IffBuilder::Map::Written));
    WriteBytes(dir.File("chair.spf"), ChairSpf());

    for (const std::string named : {"chair.iff", "chair.spf"})
        for (const bool scan : {false, true}) {
            SCOPED_TRACE(named + (scan ? " --scan" : ""));
            std::vector<std::string> args{"list", "--json", dir.File(named)};
            if (scan)
                args.push_back("--scan");
            const nlohmann::json listing = ListJson(args);
            ASSERT_EQ(listing["members"].size(), 2u);
            EXPECT_EQ(listing["members"][0]["path"], dir.File("chair.iff"));
            EXPECT_EQ(listing["members"][1]["path"], dir.File("chair.spf"));
            const auto& sprite = listing["members"][1]["resources"][0];
            EXPECT_EQ(sprite["id"], 3128);
            // The place among SPR2 resources runs on from the first member, as in the set.
            EXPECT_EQ(sprite["index"], 2);
        }

    // A companion that is not an IFF file is left out, with a word about it.
    WriteBytes(dir.File("chair.spf"), Bytes("not an iff"));
    const CliResult result = RunCli({"list", "--json", dir.File("chair.iff")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(nlohmann::json::parse(result.out)["members"].size(), 1u);
    ASSERT_EQ(result.ErrLines().size(), 1u) << result.err;
    EXPECT_NE(result.err.find("chair.spf"), std::string::npos);
}

TEST(ListCommand, ChunkThatNoLongerMatchesTheMapFailsTheListingButNotTheOthers)
{
    TempDir dir;
    const std::string file = dir.File("stale.iff");
    std::vector<uint8_t> bytes = ChairIff(IffBuilder::Map::Written);
    // The OBJD chunk at 64 changes type behind the map's back.
    std::copy_n("JUNK", 4, bytes.begin() + 64);
    WriteBytes(file, bytes);

    const CliResult byMap = RunCli({"list", "--json", file});
    EXPECT_EQ(byMap.status, 1);
    ASSERT_EQ(byMap.ErrLines().size(), 1u) << byMap.err;
    EXPECT_NE(byMap.err.find(file + ": OBJD 128 at offset 64"), std::string::npos) << byMap.err;
    const nlohmann::json listing = nlohmann::json::parse(byMap.out);
    const auto& resources = listing["members"][0]["resources"];
    ASSERT_EQ(resources.size(), 4u);
    EXPECT_TRUE(resources[0]["size"].is_null());
    EXPECT_EQ(resources[1]["size"], kStrings.size());

    const nlohmann::json byScan = ListJson({"list", "--scan", "--json", file});
    EXPECT_EQ(byScan["members"][0]["resources"][0]["type"], "JUNK");
}

TEST(DumpCommand, WritesExactlyTheStoredBytes)
{
    TempDir dir;
    const std::string file = dir.File("chair.iff");
    WriteBytes(file, ChairIff(IffBuilder::Map::Written));
    WriteBytes(dir.File("chair.spf"), ChairSpf());

    const CliResult byId = RunCli({"dump", file, "--type", "OBJD", "--id", "128"});
    EXPECT_EQ(byId.status, 0) << byId.err;
    EXPECT_EQ(byId.out, std::string(kObjd.begin(), kObjd.end()));

    // A resource with an attribute is found only by asking for that attribute.
    const std::string out = dir.File("bhav.bin");
    EXPECT_NE(RunCli({"dump", file, "-t", "BHAV", "--id", "4096"}).status, 0);
    EXPECT_EQ(RunCli({"dump", file, "-t", "BHAV", "--id", "4096", "--attribute", "7", "-o", out}).status, 0);
    EXPECT_EQ(ReadBytes(out), kBhav);

    // By place: the second SPR2 of the set lives in the companion.
    EXPECT_EQ(RunCli({"dump", file, "-t", "SPR2", "--index", "2", "-o", out}).status, 0);
    EXPECT_EQ(ReadBytes(out), kSprite);
}

TEST(BadInput, OneLineNamingTheFileAndAFailingStatus)
{
    TempDir dir;
    const std::string chair = dir.File("chair.iff");
    WriteBytes(chair, ChairIff(IffBuilder::Map::Written));
    const std::string text = dir.File("text.iff");
    WriteBytes(text, Bytes("IFF FILE but not really an IFF container header, long enough to read"));
    const std::string missing = dir.File("missing.iff");

    FarBuilder far;
    far.AddFile("a.iff", kObjd);
    far.AddFile("b.iff", kBhav);
    std::vector<uint8_t> farBytes = far.Build();
    farBytes.resize(farBytes.size() - 8); // cut inside the last manifest entry
    const std::string truncated = dir.File("cut.far");
    WriteBytes(truncated, farBytes);

    struct Case {
        std::vector<std::string> args;
        std::string file;
        std::string says;
    };
    const std::vector<Case> cases = {
        {{"list", missing}, missing, "no such file"},
        {{"list", text}, text, "not an IFF container"},
        {{"dump", text, "-t", "OBJD", "--id", "1"}, text, "not an IFF container"},
        {{"dump", chair, "-t", "ZZZZ", "--id", "1"}, chair, "no such resource (ZZZZ id 1)"},
        {{"dump", chair, "-t", "OBJD", "--index", "2"}, chair, "no such resource (OBJD #2)"},
        {{"dump", chair, "-t", "TOOLONG", "--id", "1"}, chair, "is not a resource type"},
        {{"dump", chair, "-t", "OBJD", "--id", "128", "-o", dir.File("no/such/folder")}, dir.File("no/such/folder"), ""},
        {{"far", "list", truncated}, truncated, "manifest ends"},
        {{"far", "extract", truncated, "-o", dir.File("out")}, truncated, "manifest ends"},
        {{"far", "list", missing}, missing, "no such file"},
        {{"tree", missing}, missing, "no such folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const CliResult result = RunCli(c.args);
        EXPECT_EQ(result.status, 1);
        ASSERT_EQ(result.ErrLines().size(), 1u) << result.err;
        EXPECT_EQ(result.err.rfind("zelvane-cli: " + c.file + ": ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    }
    // Extraction from a damaged archive writes nothing.
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/a.iff")));
}

} // namespace zelvane::test
