// catalog, guids and clone on a sample game, and the promise that the game's
// own files are never written.

#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>

using namespace zelvane;
using namespace zelvane::test;

namespace {

// Every file of the folder with its bytes.
std::map<std::string, std::vector<uint8_t>> Snapshot(const std::filesystem::path& folder)
{
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
        if (item.is_regular_file())
            files[item.path().string()] = ReadBytes(item.path().string());
    return files;
}

} // namespace

TEST(CatalogCommands, ListCloneAndFindSharedGuidsWithoutTouchingTheGame)
{
    TempDir game, work;
    ASSERT_EQ(WriteSampleGame(game.Path()).error, "");
    const std::string folder = game.Path().string();
    std::filesystem::create_directories(game.Path() / "Downloads" / "zelvane"); // made by the first catalog run
    // A copy of the lamp in UserObjects: the same GUID twice.
    std::filesystem::copy_file(game.Path() / "GameData/Objects/lamp.iff", game.Path() / "GameData/UserObjects/lamp2.iff");
    std::filesystem::permissions(game.Path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    const auto before = Snapshot(game.Path());

    CliResult catalog = RunCli({"catalog", "--game-folder", folder, "--json"});
    ASSERT_EQ(catalog.status, 0) << catalog.err;
    const auto listing = nlohmann::json::parse(catalog.out);
    ASSERT_EQ(listing["objects"].size(), 14u);
    bool sawTable = false;
    for (const auto& object : listing["objects"])
        if (object["name"] == "Farmhouse Dining Table") {
            sawTable = true;
            EXPECT_EQ(object["price"], 600);
            EXPECT_EQ(object["tiles"], 4);
            EXPECT_EQ(object["file"], "GameData/Objects/diningtable.iff");
        }
    EXPECT_TRUE(sawTable);

    CliResult guids = RunCli({"guids", "--game-folder", folder, "--json"});
    ASSERT_EQ(guids.status, 0) << guids.err;
    const auto shared = nlohmann::json::parse(guids.out)["shared_guids"];
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_EQ(shared[0]["objects"].size(), 2u);

    const std::string target = work.File("zeltemp.iff");
    CliResult clone = RunCli({"clone", folder + "/GameData/Objects/plant.iff", "--id", "128", "--out", target,
                              "--game-folder", folder, "--json"});
    ASSERT_EQ(clone.status, 0) << clone.err;
    const auto cloned = nlohmann::json::parse(clone.out);
    ASSERT_EQ(cloned["guids"].size(), 1u);
    EXPECT_NE(cloned["guids"][0]["old_guid"], cloned["guids"][0]["new_guid"]);
    EXPECT_FALSE(cloned["repaired"].empty());
    EXPECT_TRUE(std::filesystem::exists(target));
    // Editing and saving the clone, and looking at a game file, leave the game alone too.
    CliResult set = RunCli({"set", "--file", target, "Price=99", "Name=My Fern"});
    ASSERT_EQ(set.status, 0) << set.err;
    CliResult props = RunCli({"props", folder + "/GameData/Objects/chair.iff", "--advanced"});
    ASSERT_EQ(props.status, 0) << props.err;

    EXPECT_EQ(Snapshot(game.Path()), before) << "a game file was written";
    std::filesystem::permissions(game.Path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

TEST(CatalogCommands, BadInputSaysWhatIsWrongInOneLine)
{
    TempDir work;
    CliResult missing = RunCli({"catalog", "--game-folder", work.File("nowhere")});
    EXPECT_NE(missing.status, 0);
    ASSERT_EQ(missing.ErrLines().size(), 1u);
    EXPECT_NE(missing.ErrLines()[0].find("not a folder"), std::string::npos);

    CliResult noFile = RunCli({"clone", work.File("none.iff"), "--id", "128", "--out", work.File("t.iff"),
                               "--game-folder", work.Path().string()});
    EXPECT_NE(noFile.status, 0);
    ASSERT_EQ(noFile.ErrLines().size(), 1u);
    EXPECT_NE(noFile.ErrLines()[0].find("no such file"), std::string::npos);

    // What the editor shows in a message box is the command's one line here.
    TempDir game;
    ASSERT_EQ(WriteSampleGame(game.Path()).error, "");
    const std::string nowhere = work.File("no such folder/zeltemp.iff");
    CliResult unwritable = RunCli({"clone", game.File("GameData/Objects/chair.iff"), "--id", "128", "--out", nowhere,
                                   "--game-folder", game.Path().string()});
    EXPECT_NE(unwritable.status, 0);
    EXPECT_EQ(unwritable.err, "zelvane-cli: " + nowhere +
                                  ": Could not create the new object object file named \"" + nowhere +
                                  "\", error #-42!\n");
    EXPECT_EQ(unwritable.out, "");
}
