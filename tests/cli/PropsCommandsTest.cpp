// props and set: the property table on the command line.

#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

std::map<std::string, nlohmann::json> Properties(const std::string& file, bool advanced)
{
    std::vector<std::string> args = {"props", file, "--json"};
    if (advanced)
        args.push_back("--advanced");
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    std::map<std::string, nlohmann::json> byName;
    const nlohmann::json parsed = nlohmann::json::parse(result.out);
    for (const auto& row : parsed["properties"])
        byName[row["name"]] = row;
    return byName;
}

} // namespace

TEST(PropsCommands, ShowTheSimpleOrAdvancedViewAndStoreByTheEditorsRules)
{
    TempDir game, work;
    ASSERT_EQ(WriteSampleGame(game.Path()).error, "");
    const std::string original = game.File("GameData/Objects/chair.iff");
    const std::vector<uint8_t> untouched = ReadBytes(original);
    EXPECT_EQ(Properties(original, false).size(), 6u);
    EXPECT_EQ(Properties(original, true).size(), 31u);
    EXPECT_EQ(ReadBytes(original), untouched) << "looking must not write";

    const std::string file = work.File("chair.iff");
    std::filesystem::copy_file(original, file);
    CliResult set = RunCli({"set", "--file", file, "Price=700", "Room Flags=Kitchen,Study", "Wall Style=Door",
                            "Disabled=1", "Name=" + std::string(80, 'x')});
    ASSERT_EQ(set.status, 0) << set.err;
    const auto props = Properties(file, true);
    EXPECT_EQ(props.at("Price")["value"], "700");
    EXPECT_EQ(props.at("Room Flags")["number"], 1 + 128);
    EXPECT_EQ(props.at("Wall Style")["value"], "Door");
    EXPECT_EQ(props.at("Disabled")["number"], 1);
    EXPECT_EQ(props.at("Name")["value"], std::string(80, 'x'));
    EXPECT_EQ(props.at("Description")["value"], Properties(original, false).at("Description")["value"]);

    // A mistake anywhere stores nothing.
    const std::vector<uint8_t> before = ReadBytes(file);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"Price=5", "Room Flags=Garage"},
                                                std::vector<std::string>{"Colour=red"},
                                                std::vector<std::string>{"Price"},
                                                std::vector<std::string>{"Price=5", "Price=99999"},
                                                std::vector<std::string>{"Price=-5"},
                                                std::vector<std::string>{"Price=abc"}}) {
        std::vector<std::string> args = {"set", "--file", file};
        args.insert(args.end(), bad.begin(), bad.end());
        const CliResult refused = RunCli(args);
        EXPECT_NE(refused.status, 0);
        EXPECT_EQ(refused.ErrLines().size(), 1u) << refused.err;
        if (bad.back().rfind("Price=", 0) == 0 && bad.back() != "Price=5") {
            EXPECT_NE(refused.err.find("from 0 to 32767"), std::string::npos) << refused.err;
        }
    }
    EXPECT_EQ(ReadBytes(file), before);
}

// Names are typed and shown as UTF-8 and stored in the code page of their
// slot: one byte 0xE9 for "é" in the English slot.
TEST(PropsCommands, NamesAreStoredInTheirSlotsCodePage)
{
    TempDir game, work;
    ASSERT_EQ(WriteSampleGame(game.Path()).error, "");
    const std::string file = work.File("chair.iff");
    std::filesystem::copy_file(game.File("GameData/Objects/chair.iff"), file);
    const CliResult set = RunCli({"set", "--file", file, "Name=Café", "Description=Crème – brûlée"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(Properties(file, false).at("Name")["value"], "Café");
    EXPECT_EQ(Properties(file, false).at("Description")["value"], "Crème – brûlée");
    const CliResult dumped = RunCli({"dump", file, "-t", "CTSS", "--id", "2000"});
    EXPECT_NE(dumped.out.find(std::string("\x01" "Caf\xE9\0", 6)), std::string::npos);
    EXPECT_NE(dumped.out.find("Cr\xE8me \x96 br\xFBl\xE9" "e"), std::string::npos);
    EXPECT_FALSE(Properties(file, false).at("Name").contains("bytes"));
}

TEST(PropsCommands, FilesInsideArchivesAreNotChanged)
{
    TempDir game;
    ASSERT_EQ(WriteSampleGame(game.Path()).error, "");
    const std::string archived = game.File("GameData/Objects/plant.iff"); // packed in furniture.far
    EXPECT_EQ(Properties(archived, false).at("Name")["value"], "Potted Fern");
    const CliResult refused = RunCli({"set", "--file", archived, "Price=1"});
    EXPECT_NE(refused.status, 0);
    ASSERT_EQ(refused.ErrLines().size(), 1u);
    EXPECT_NE(refused.ErrLines()[0].find("files in archives cannot be changed"), std::string::npos);
}
