// catalog, guids and clone on a sample game, and the promise that the game's
// own files are never written.

#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <set>

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

namespace {

nlohmann::json Json(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return nlohmann::json::parse(result.out, nullptr, false);
}

// The one error line of a command expected to fail.
std::string Refusal(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.ErrLines().size(), 1u) << result.err;
    return result.err;
}

} // namespace

// Every reading command takes a catalog path, here of a file packed in the
// game's FAR archive, and the object commands take --guid; changes inside
// the archive stay refused.
TEST(CatalogCommands, CatalogPathsAndGuidsNameObjectsEverywhere)
{
    TempDir game, work;
    ASSERT_EQ(WriteSampleGame(game.Path()).error, "");
    const std::string folder = game.Path().string();
    const std::string plant = "GameData/Objects/plant.iff"; // in furniture.far
    ASSERT_FALSE(std::filesystem::exists(game.Path() / plant));
    const std::vector<std::string> inGame = {"--game-folder", folder};
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), inGame.begin(), inGame.end());
        return Json(args);
    };

    EXPECT_EQ(run({"preview", plant, "--id", "128", "--json"})["notes"].size(), 0u);
    EXPECT_EQ(run({"sprite", plant, "--id", "200", "--json"})["format"], "SPR2");
    EXPECT_EQ(run({"strings", plant, "-t", "CTSS", "--id", "2000", "--json"})["languages"][0]["strings"][0]["text"],
              "Potted Fern");
    EXPECT_EQ(run({"drawgroup", plant, "--id", "100", "--json"})["images"].size(), 12u);
    EXPECT_EQ(run({"list", plant, "--json"})["members"][0]["resources"].size(), 9u);
    const nlohmann::json props = run({"props", plant, "--json"});
    EXPECT_EQ(props["properties"][1]["value"], "Potted Fern");
    EXPECT_EQ(props["file"], folder + "/" + plant);
    const CliResult dump = RunCli({"dump", plant, "-t", "OBJD", "--id", "128", "--game-folder", folder});
    EXPECT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out.size(), 216u);

    // --guid: anywhere in the catalog, or in the file named; a tile by its own GUID.
    const nlohmann::json byGuid = run({"props", "--guid", "0x5A3E0700", "--json"});
    EXPECT_EQ(byGuid["file"], folder + "/" + plant);
    EXPECT_EQ(byGuid["id"], 128);
    const nlohmann::json table = run({"preview", "--guid", "0x5a3e0300", "--json"});
    EXPECT_EQ(table["tiles"], 4);
    const nlohmann::json tile = run({"props", "GameData/Objects/diningtable.iff", "--guid", "1514013441", "--json"});
    EXPECT_EQ(tile["id"], 129);
    EXPECT_EQ(tile["properties"][0]["value"], "Table - Farmhouse Dining - tile 0");
    const std::string target = work.File("fern.iff");
    const nlohmann::json cloned = run({"clone", "--guid", "0x5A3E0700", "--out", target, "--json"});
    EXPECT_EQ(cloned["guids"][0]["old_guid"], "0x5A3E0700");
    const CliResult set = RunCli({"set", "--file", target, "--guid", cloned["guids"][0]["new_guid"], "Price=12"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(Json({"props", target, "--json"})["properties"][3]["value"], "12");

    // The catalog says how many tiles an object covers, and which.
    const nlohmann::json catalog = run({"catalog", "--json"});
    for (const auto& object : catalog["objects"]) {
        SCOPED_TRACE(object["file"].get<std::string>());
        if (object["file"] == "GameData/Objects/diningtable.iff") {
            ASSERT_EQ(object["members"].size(), 4u);
            std::set<std::pair<int, int>> places;
            for (const auto& member : object["members"])
                places.emplace(member["x"], member["y"]);
            EXPECT_EQ(places, (std::set<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
        } else if (object["file"] == "GameData/Objects/loveseat.iff") {
            EXPECT_EQ(object["tiles"], 2);
        } else {
            EXPECT_EQ(object["tiles"], 1);
            EXPECT_FALSE(object.contains("members"));
        }
    }

    // Refusals, each in one line.
    EXPECT_NE(Refusal({"set", "--file", plant, "--game-folder", folder, "Price=1"})
                  .find("files in archives cannot be changed"),
              std::string::npos);
    EXPECT_NE(Refusal({"props", "GameData/Objects/none.iff", "--game-folder", folder})
                  .find("GameData/Objects/none.iff: no such file (nor below the game folder " + folder + "/)"),
              std::string::npos);
    EXPECT_NE(Refusal({"preview", "--guid", "0x5A3E07", "--game-folder", folder, "--json"})
                  .find("no object has GUID 0x005A3E07"),
              std::string::npos);
    EXPECT_NE(Refusal({"preview", "--guid", "5A3E0700", "--game-folder", folder, "--json"}).find("is not a GUID"),
              std::string::npos);
    EXPECT_NE(Refusal({"props"}).find("name the object file, or the object with --guid"), std::string::npos);
    std::filesystem::copy_file(game.Path() / "GameData/Objects/lamp.iff", game.Path() / "GameData/UserObjects/lamp2.iff");
    EXPECT_NE(Refusal({"props", "--guid", "0x5A3E0100", "--game-folder", folder})
                  .find("GUID 0x5A3E0100 is used by 2 objects: " + folder + "/GameData/Objects/lamp.iff OBJD 128; " +
                        folder + "/GameData/UserObjects/lamp2.iff OBJD 128; name the file and --id"),
              std::string::npos);
}
