// `put`, `remove`, `rename` and `compact` on object files built here: what
// they change, where new resources go, and that refused or failed commands
// leave every file exactly as it was.

#include "resfile/FarBuilder.h"
#include "resfile/IffBuilder.h"
#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>

namespace zelvane::test {

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::vector<uint8_t> Pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 31);
    return bytes;
}

const std::vector<uint8_t> kObjd = Pattern(216, 1);
const std::vector<uint8_t> kLabels = Pattern(40, 2);
const std::vector<uint8_t> kBhav = Pattern(300, 3);
const std::vector<uint8_t> kIffSprite = Pattern(50, 4);
const std::vector<uint8_t> kSprite = Pattern(120, 5);
constexpr uint32_t kFreeBytes = 20000;

// STR# stored unconverted (flags 0) and a BHAV with attribute 7, so that
// replacing can be seen to keep flags; a free chunk for compaction.
std::vector<uint8_t> ChairIff()
{
    IffBuilder iff;
    iff.AddChunk(kTypeOBJD, 128, "Chair", kObjd);
    iff.AddChunk(kTypeSTRList, 129, "labels", kLabels, 0);
    iff.AddFreeChunk(kFreeBytes);
    iff.AddChunk(kTypeBHAV, 4096, "main", kBhav, 0x0710);
    iff.AddChunk(kTypeSPR2, 1, "in the iff", kIffSprite);
    return iff.Build(IffBuilder::Map::Written);
}

std::vector<uint8_t> ChairSpf()
{
    IffBuilder spf;
    spf.AddChunk(kTypeSPR2, 3128, "Chair", kSprite, 0);
    return spf.Build(IffBuilder::Map::Written);
}

struct Resource {
    std::string name;
    uint32_t size = 0;
    int flags = 0;
    bool operator==(const Resource&) const = default;
};
// "chair.iff SPR2 1 0" (member file name, type, id, attribute) → what list says of it.
using Listing = std::map<std::string, Resource>;

Listing ListOnce(const std::string& file, bool scan)
{
    std::vector<std::string> args{"list", "--json", file};
    if (scan)
        args.push_back("--scan");
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    Listing listing;
    const nlohmann::json parsed = nlohmann::json::parse(result.out);
    for (const auto& member : parsed["members"]) {
        // A changed member must have been closed properly: its map is in use again.
        EXPECT_EQ(member["index"], scan ? "scan" : "map") << member["path"];
        const std::string path = fs::path(member["path"].get<std::string>()).filename().string();
        for (const auto& r : member["resources"])
            listing[path + " " + r["type"].get<std::string>() + " " + r["id"].dump() + " " + r["attribute"].dump()] =
                {r["name"], r["size"], r["flags"]};
    }
    return listing;
}

// The listing by map, which must agree with a scan of the chunks.
Listing List(const std::string& file)
{
    const Listing byMap = ListOnce(file, false);
    EXPECT_EQ(byMap, ListOnce(file, true)) << "the map and a scan disagree";
    return byMap;
}

std::vector<uint8_t> Dump(const std::string& file, const std::string& type, int id, int attribute = 0)
{
    const CliResult result =
        RunCli({"dump", file, "-t", type, "--id", std::to_string(id), "--attribute", std::to_string(attribute)});
    EXPECT_EQ(result.status, 0) << result.err;
    return Bytes(result.out);
}

CliResult Ok(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return result;
}

} // namespace

TEST(PutCommand, AddsNewResourcesAndReplacesExistingOnesKeepingTheirFlags)
{
    TempDir dir;
    const std::string file = dir.File("chair.iff");
    WriteBytes(file, ChairIff());
    const std::string data = dir.File("data.bin");

    const std::vector<uint8_t> tree = Pattern(1000, 6);
    WriteBytes(data, tree);
    EXPECT_EQ(Ok({"put", file, "-t", "BHAV", "--id", "4097", "--name", "new tree", "--from", data}).out,
              file + ": BHAV 4097 added (1000 bytes)\n");
    EXPECT_EQ(Dump(file, "BHAV", 4097), tree);
    EXPECT_EQ(List(file).at("chair.iff BHAV 4097 0"), (Resource{"new tree", 1000, 0x10}));

    // Longer data; name and the unconverted flags stay.
    const std::vector<uint8_t> labels = Pattern(700, 7);
    WriteBytes(data, labels);
    EXPECT_EQ(Ok({"put", file, "-t", "STR#", "--id", "129", "--from", data}).out,
              file + ": STR# 129 replaced (700 bytes)\n");
    EXPECT_EQ(Dump(file, "STR#", 129), labels);
    EXPECT_EQ(List(file).at("chair.iff STR# 129 0"), (Resource{"labels", 700, 0}));
    Ok({"put", file, "-t", "STR#", "--id", "129", "--name", "", "--from", data});
    EXPECT_EQ(List(file).at("chair.iff STR# 129 0").name, "");

    // The attribute is part of what names a resource.
    const std::vector<uint8_t> tagged = Pattern(300, 8);
    WriteBytes(data, tagged);
    Ok({"put", file, "-t", "BHAV", "--id", "4096", "--attribute", "7", "--from", data});
    EXPECT_EQ(Ok({"put", file, "-t", "BHAV", "--id", "4096", "--name", "untagged", "--from", data}).out,
              file + ": BHAV 4096 added (300 bytes)\n");
    const Listing listing = List(file);
    EXPECT_EQ(listing.at("chair.iff BHAV 4096 7"), (Resource{"main", 300, 0x0710}));
    EXPECT_EQ(listing.at("chair.iff BHAV 4096 0"), (Resource{"untagged", 300, 0x10}));
    EXPECT_EQ(Dump(file, "BHAV", 4096, 7), tagged);

    // An empty file makes an empty resource.
    WriteBytes(data, {});
    Ok({"put", file, "-t", "TEST", "--id", "1", "--from", data});
    EXPECT_EQ(List(file).at("chair.iff TEST 1 0").size, 0u);
    EXPECT_EQ(Dump(file, "OBJD", 128), kObjd);
}

TEST(PutCommand, SpriteTypesGoToTheSpriteCompanion)
{
    TempDir dir;
    const std::string iff = dir.File("chair.iff");
    const std::string spf = dir.File("chair.spf");
    WriteBytes(iff, ChairIff());
    WriteBytes(spf, ChairSpf());
    const std::string data = dir.File("data.bin");
    const std::vector<uint8_t> bytes = Pattern(90, 9);
    WriteBytes(data, bytes);

    EXPECT_EQ(Ok({"put", iff, "-t", "SPR2", "--id", "5000", "--from", data}).out, spf + ": SPR2 5000 added (90 bytes)\n");
    // Naming the companion opens the same pair; other types still go to the .iff.
    EXPECT_EQ(Ok({"put", spf, "-t", "OBJD", "--id", "129", "--from", data}).out, iff + ": OBJD 129 added (90 bytes)\n");
    // A sprite that sits in the .iff moves, keeping its name, and only one copy is left.
    EXPECT_EQ(Ok({"put", iff, "-t", "SPR2", "--id", "1", "--from", data}).out,
              spf + ": SPR2 1 moved here from " + iff + " (90 bytes)\n");

    const Listing listing = List(iff);
    EXPECT_EQ(listing.count("chair.iff SPR2 5000 0"), 0u);
    EXPECT_EQ(listing.at("chair.spf SPR2 5000 0").size, 90u);
    EXPECT_EQ(listing.at("chair.iff OBJD 129 0").size, 90u);
    EXPECT_EQ(listing.count("chair.iff SPR2 1 0"), 0u);
    EXPECT_EQ(listing.at("chair.spf SPR2 1 0"), (Resource{"in the iff", 90, 0x10}));
    EXPECT_EQ(Dump(iff, "SPR2", 1), bytes);
    EXPECT_EQ(Dump(iff, "SPR2", 3128), kSprite);
}

TEST(RemoveAndRenameCommands, ChangeOnlyTheResourceNamed)
{
    TempDir dir;
    const std::string iff = dir.File("chair.iff");
    WriteBytes(iff, ChairIff());
    WriteBytes(dir.File("chair.spf"), ChairSpf());

    EXPECT_EQ(Ok({"remove", iff, "-t", "STR#", "--id", "129"}).out, iff + ": STR# 129 removed\n");
    EXPECT_EQ(Ok({"remove", iff, "-t", "SPR2", "--id", "3128"}).out, dir.File("chair.spf") + ": SPR2 3128 removed\n");
    Listing listing = List(iff);
    EXPECT_EQ(listing.size(), 3u);
    EXPECT_EQ(listing.count("chair.iff STR# 129 0"), 0u);

    EXPECT_EQ(Ok({"rename", iff, "-t", "OBJD", "--id", "128", "--new-id", "200", "--name", "Big chair"}).out,
              iff + ": OBJD 128 is now OBJD 200 'Big chair'\n");
    EXPECT_EQ(Ok({"rename", iff, "-t", "BHAV", "--id", "4096", "--attribute", "7", "--name", "renamed"}).out,
              iff + ": BHAV 4096 attribute 7 is now BHAV 4096 attribute 7 'renamed'\n");
    Ok({"rename", iff, "-t", "SPR2", "--id", "1", "--new-id", "-5"});
    listing = List(iff);
    EXPECT_EQ(listing.count("chair.iff OBJD 128 0"), 0u);
    EXPECT_EQ(listing.at("chair.iff OBJD 200 0"), (Resource{"Big chair", 216, 0x10}));
    EXPECT_EQ(listing.at("chair.iff BHAV 4096 7"), (Resource{"renamed", 300, 0x0710}));
    EXPECT_EQ(listing.at("chair.iff SPR2 -5 0"), (Resource{"in the iff", 50, 0x10}));
    EXPECT_EQ(Dump(iff, "OBJD", 200), kObjd);
    EXPECT_EQ(Dump(iff, "BHAV", 4096, 7), kBhav);
}

TEST(CompactCommand, DropsTheFreeSpaceAndReportsBothSizes)
{
    TempDir dir;
    const std::string file = dir.File("chair.iff");
    const std::vector<uint8_t> original = ChairIff();
    WriteBytes(file, original);
    const Listing before = List(file);

    // The rewritten map has the length of the old one, so exactly the free chunk goes.
    const size_t compacted = original.size() - kFreeBytes;
    EXPECT_EQ(Ok({"compact", file}).out, file + ": " + std::to_string(original.size()) + " bytes before, " +
                                             std::to_string(compacted) + " after\n");
    EXPECT_EQ(fs::file_size(file), compacted);
    EXPECT_EQ(List(file), before);
    EXPECT_EQ(Dump(file, "STR#", 129), kLabels);
    EXPECT_EQ(Dump(file, "SPR2", 1), kIffSprite);

    const nlohmann::json again = nlohmann::json::parse(Ok({"compact", "--json", file}).out);
    EXPECT_EQ(again["bytesBefore"], compacted);
    EXPECT_EQ(again["bytesAfter"], compacted);
    EXPECT_EQ(List(file), before);
}

TEST(EditCommands, RefuseFilesInsideArchivesAndLeaveEverythingAsItWas)
{
    TempDir dir;
    const std::string data = dir.File("data.bin");
    WriteBytes(data, Bytes("new data"));

    // The object file itself packed in an archive.
    const fs::path packed = dir.Path() / "packed";
    fs::create_directories(packed);
    FarBuilder far;
    far.AddFile("chair.iff", ChairIff());
    const std::vector<uint8_t> archive = far.Build();
    const std::string farPath = (packed / "pack.far").string();
    WriteBytes(farPath, archive);
    const std::string inArchive = (packed / "chair.iff").string();
    const std::string refusal =
        "zelvane-cli: " + inArchive + ": is inside the archive " + farPath + "; files in archives cannot be changed\n";
    const std::vector<std::vector<std::string>> commands = {
        {"put", inArchive, "-t", "BHAV", "--id", "9", "--from", data},
        {"put", inArchive, "-t", "OBJD", "--id", "128", "--from", data},
        {"remove", inArchive, "-t", "OBJD", "--id", "128"},
        {"rename", inArchive, "-t", "OBJD", "--id", "128", "--name", "x"},
        {"compact", inArchive},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0]);
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, refusal);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(ReadBytes(farPath), archive);
    EXPECT_EQ(std::distance(fs::directory_iterator(packed), fs::directory_iterator()), 1);

    // Only the sprite companion is packed: changes that reach it are refused, others go ahead.
    const fs::path mixed = dir.Path() / "mixed";
    fs::create_directories(mixed);
    const std::string iff = (mixed / "chair.iff").string();
    const std::string spf = (mixed / "chair.spf").string();
    WriteBytes(iff, ChairIff());
    FarBuilder sprites;
    sprites.AddFile("chair.spf", ChairSpf());
    const std::string spriteFar = (mixed / "sprites.far").string();
    WriteBytes(spriteFar, sprites.Build());
    const std::string spfRefusal = "zelvane-cli: " + spf + ": is inside the archive " + spriteFar +
                                   "; files in archives cannot be changed";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"put", iff, "-t", "SPR2", "--id", "9", "--from", data},
             {"put", iff, "-t", "SPR2", "--id", "3128", "--from", data},
             {"remove", iff, "-t", "SPR2", "--id", "3128"},
             {"rename", iff, "-t", "SPR2", "--id", "3128", "--new-id", "3129"},
             {"put", spf, "-t", "BHAV", "--id", "9", "--from", data}}) {
        SCOPED_TRACE(args[0] + " " + args[3] + " " + args[5]);
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 1);
        ASSERT_EQ(result.ErrLines().size(), 1u) << result.err;
        EXPECT_EQ(result.err.rfind(spfRefusal, 0), 0u) << result.err;
    }
    EXPECT_EQ(ReadBytes(iff), ChairIff());
    EXPECT_EQ(Ok({"put", iff, "-t", "BHAV", "--id", "9", "--from", data}).out, iff + ": BHAV 9 added (8 bytes)\n");
    EXPECT_EQ(Dump(iff, "SPR2", 3128), kSprite);
}

TEST(EditCommands, BadInputFailsWithOneLineAndChangesNothing)
{
    TempDir dir;
    const std::string file = dir.File("chair.iff");
    const std::vector<uint8_t> original = ChairIff();
    WriteBytes(file, original);
    const std::string data = dir.File("data.bin");
    WriteBytes(data, Bytes("data"));
    const std::string text = dir.File("text.iff");
    const std::vector<uint8_t> notIff = Bytes("not an IFF file at all, but long enough to hold a header......");
    WriteBytes(text, notIff);
    const std::string missing = dir.File("missing.bin");
    const std::string longName(64, 'n');

    struct Case {
        std::vector<std::string> args;
        std::string subject;
        std::string says;
    };
    const std::vector<Case> cases = {
        {{"put", file, "-t", "BHAV", "--id", "1", "--from", missing}, missing, "no such file"},
        {{"put", file, "-t", "BHAV", "--id", "1", "--from", dir.Path().string()}, dir.Path().string(),
         "not a regular file"},
        {{"put", file, "-t", "TOOLONG", "--id", "1", "--from", data}, file, "'TOOLONG' is not a resource type"},
        {{"put", file, "-t", "BHAV", "--id", "1", "--name", longName, "--from", data}, file,
         "the name is longer than 63 characters"},
        {{"put", text, "-t", "BHAV", "--id", "1", "--from", data}, text, "not an IFF container"},
        {{"put", dir.File("none.iff"), "-t", "BHAV", "--id", "1", "--from", data}, dir.File("none.iff"),
         "no such file"},
        {{"remove", file, "-t", "BHAV", "--id", "4096"}, file, "no such resource (BHAV 4096)"},
        {{"remove", file, "-t", "BHAV", "--id", "4096", "--attribute", "8"}, file,
         "no such resource (BHAV 4096 attribute 8)"},
        {{"rename", file, "-t", "OBJD", "--id", "128"}, file, "nothing to change"},
        {{"rename", file, "-t", "OBJD", "--id", "128", "--new-id", "129", "--name", longName}, file,
         "the name is longer than 63 characters"},
        {{"rename", file, "-t", "SPR2", "--id", "1", "--new-id", "1", "--name", "x", "--attribute", "3"}, file,
         "no such resource (SPR2 1 attribute 3)"},
        {{"compact", text}, text, "not an IFF container"},
        {{"compact", dir.Path().string()}, dir.Path().string(), "is a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.says);
        const CliResult result = RunCli(c.args);
        EXPECT_EQ(result.status, 1);
        ASSERT_EQ(result.ErrLines().size(), 1u) << result.err;
        EXPECT_EQ(result.err.rfind("zelvane-cli: " + c.subject + ": ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(ReadBytes(file), original);
        EXPECT_EQ(ReadBytes(text), notIff);
    }

    // A second resource under a taken id would be hidden by the first.
    IffBuilder twoObjects;
    twoObjects.AddChunk(kTypeOBJD, 128, "a", kObjd);
    twoObjects.AddChunk(kTypeOBJD, 129, "b", kObjd);
    const std::vector<uint8_t> two = twoObjects.Build(IffBuilder::Map::Written);
    WriteBytes(file, two);
    const CliResult taken = RunCli({"rename", file, "-t", "OBJD", "--id", "128", "--new-id", "129"});
    EXPECT_EQ(taken.status, 1);
    EXPECT_EQ(taken.err, "zelvane-cli: " + file + ": OBJD 129 already exists\n");
    EXPECT_EQ(ReadBytes(file), two);
}

} // namespace zelvane::test
