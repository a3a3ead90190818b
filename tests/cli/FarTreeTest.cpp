// `far list`, `far extract` and `tree` on archives and folders built here.

#include "resfile/FarBuilder.h"
#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace zelvane::test {

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

const std::vector<uint8_t> kLamp = Bytes("lamp object");
const std::vector<uint8_t> kTable(5000, 0x7B);
const std::vector<uint8_t> kNote = Bytes("read me");

// Entries with either separator, a folder, and a second entry of a name
// already taken (ignoring case), which the file system would ignore.
std::vector<uint8_t> PackFar()
{
    FarBuilder far;
    far.AddFile("lamp.iff", kLamp);
    far.AddFile("Deep\\Table.iff", kTable);
    far.AddFile("docs/note.txt", kNote);
    far.AddFile("LAMP.IFF", Bytes("shadowed"));
    return far.Build();
}

} // namespace

TEST(FarCommands, ListAndExtractRoundTrip)
{
    TempDir dir;
    const std::string archive = dir.File("pack.far");
    const std::vector<uint8_t> bytes = PackFar();
    WriteBytes(archive, bytes);

    const CliResult listed = RunCli({"far", "list", "--json", archive});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const nlohmann::json entries = nlohmann::json::parse(listed.out)["entries"];
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1]["name"], "Deep/Table.iff");
    // Offsets and lengths point at each file's own bytes.
    const std::vector<std::vector<uint8_t>> contents = {kLamp, kTable, kNote, Bytes("shadowed")};
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t offset = entries[i]["offset"], length = entries[i]["length"];
        ASSERT_LE(offset + length, bytes.size());
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset + length), contents[i]);
    }

    const std::string all = dir.File("all");
    const CliResult extracted = RunCli({"far", "extract", archive, "-o", all});
    EXPECT_EQ(extracted.status, 0);
    EXPECT_EQ(ReadBytes(all + "/lamp.iff"), kLamp); // the first of the two names wins
    EXPECT_EQ(ReadBytes(all + "/Deep/Table.iff"), kTable);
    EXPECT_EQ(ReadBytes(all + "/docs/note.txt"), kNote);
    ASSERT_EQ(extracted.ErrLines().size(), 1u) << extracted.err;
    EXPECT_NE(extracted.err.find("warning: skipped a second entry named 'LAMP.IFF'"), std::string::npos);

    // Names are matched ignoring case, with either separator.
    const std::string some = dir.File("some");
    EXPECT_EQ(RunCli({"far", "extract", archive, "deep/TABLE.IFF", "Docs\\Note.txt", "-o", some}).status, 0);
    EXPECT_EQ(ReadBytes(some + "/Deep/Table.iff"), kTable);
    EXPECT_EQ(ReadBytes(some + "/docs/note.txt"), kNote);
    EXPECT_FALSE(fs::exists(some + "/lamp.iff"));

    const CliResult unknown = RunCli({"far", "extract", archive, "lamp.iff", "nothing.iff", "-o", dir.File("none")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("no entry named 'nothing.iff'"), std::string::npos) << unknown.err;
    EXPECT_FALSE(fs::exists(dir.File("none/lamp.iff")));
}

TEST(FarCommands, ExtractDoesNotFollowALinkOutOfTheFolder)
{
    TempDir dir;
    const std::string archive = dir.File("pack.far");
    WriteBytes(archive, PackFar());
    const fs::path target = dir.Path() / "target";
    const fs::path outside = dir.Path() / "outside";
    fs::create_directories(target);
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, target / "docs");

    const CliResult result = RunCli({"far", "extract", archive, "-o", target.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("'docs/note.txt' would be written outside"), std::string::npos) << result.err;
    EXPECT_TRUE(fs::is_empty(outside));
    // Refused before anything was written.
    EXPECT_FALSE(fs::exists(target / "lamp.iff"));
}

TEST(TreeCommand, ArchiveEntriesAppearInTheFolderThatHoldsTheArchive)
{
    TempDir dir;
    const fs::path game = dir.Path() / "Game";
    fs::create_directories(game / "Objects");
    fs::create_directories(game / "Empty");
    WriteBytes((game / "Objects" / "pack.far").string(), PackFar());
    WriteBytes((game / "Objects" / "Chair.iff").string(), Bytes("plain chair"));

    const CliResult result = RunCli({"tree", "--json", game.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json tree = nlohmann::json::parse(result.out);
    std::vector<std::string> seen;
    for (const auto& entry : tree["entries"]) {
        seen.push_back(entry["path"].get<std::string>() + " " + entry["kind"].get<std::string>() + " " +
                       (entry["inArchive"].get<bool>() ? "archive" : "plain") + " " + entry["size"].dump() +
                       " " + entry["depth"].dump());
        if (entry["inArchive"].get<bool>() && entry["kind"] == "file") {
            EXPECT_EQ(entry["archive"], (game / "Objects" / "pack.far").string());
        }
    }
    // Case-insensitive name order at every level; the archive itself is not an entry.
    const std::vector<std::string> expected = {
        "Empty folder plain null 0",
        "Objects folder plain null 0",
        "Objects/Chair.iff file plain 11 1",
        "Objects/Deep folder archive null 1",
        "Objects/Deep/Table.iff file archive 5000 2",
        "Objects/docs folder archive null 1",
        "Objects/docs/note.txt file archive 7 2",
        "Objects/lamp.iff file archive 11 1",
    };
    EXPECT_EQ(seen, expected);

    const CliResult plain = RunCli({"tree", "--no-archives", game.string()});
    EXPECT_EQ(plain.status, 0);
    EXPECT_NE(plain.out.find("Chair.iff"), std::string::npos);
    EXPECT_EQ(plain.out.find("lamp.iff"), std::string::npos) << plain.out;
}

} // namespace zelvane::test
