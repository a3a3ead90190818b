// sprites export and sprites import: catalog paths, listings and JSON, the
// sheet, and one-line failures with a non-zero exit status.

#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

class SpritesCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WriteSampleGame(game_.Path()).error, ""); }
    std::string Object(const std::string& relative) const { return (game_.Path() / relative).string(); }
    std::string Game() const { return game_.Path().string(); }

    TempDir game_;
    TempDir work_;
};

} // namespace

TEST_F(SpritesCommands, ExportListsWhatItWroteAndImportTakesItBackByCatalogPath)
{
    const std::string out = work_.File("table");
    const CliResult listed = RunCli({"sprites", "export", "GameData/Objects/diningtable.iff", "--game-folder", Game(),
                                     "--id", "128", "-o", out, "--json"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const nlohmann::json json = nlohmann::json::parse(listed.out);
    EXPECT_EQ(json["sprites"], 4);
    ASSERT_EQ(json["frames"].size(), 48u);
    for (const nlohmann::json& frame : json["frames"]) {
        EXPECT_TRUE(std::filesystem::is_regular_file(out + "/" + frame["image"].get<std::string>()));
        EXPECT_TRUE(std::filesystem::is_regular_file(out + "/" + frame["depth"].get<std::string>()));
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(out + "/sprites.json"));

    const std::vector<uint8_t> before = ReadBytes(Object("GameData/Objects/diningtable.iff"));
    const CliResult taken =
        RunCli({"sprites", "import", "GameData/Objects/diningtable.iff", out, "--game-folder", Game(), "--json"});
    ASSERT_EQ(taken.status, 0) << taken.err;
    const nlohmann::json result = nlohmann::json::parse(taken.out);
    EXPECT_EQ(result["sprites"], 4);
    EXPECT_EQ(result["frames"], 48);
    ASSERT_EQ(result["palettes"].size(), 1u);
    EXPECT_EQ(result["palettes"][0]["object"], 128);
    EXPECT_GT(result["palettes"][0]["psnr"].get<double>(), 40.0);
    EXPECT_NE(ReadBytes(Object("GameData/Objects/diningtable.iff")), before);

    // A file packed in an archive can be exported, not changed.
    const std::string fern = work_.File("fern");
    const CliResult packed =
        RunCli({"sprites", "export", "GameData/Objects/plant.iff", "--game-folder", Game(), "-o", fern});
    ASSERT_EQ(packed.status, 0) << packed.err;
    EXPECT_NE(packed.out.find(fern + ": 1 sprites, 12 frames, 24 PNG files and sprites.json"), std::string::npos)
        << packed.out;
    const CliResult refused = RunCli({"sprites", "import", "GameData/Objects/plant.iff", fern, "--game-folder", Game()});
    EXPECT_EQ(refused.status, 1);
    ASSERT_EQ(refused.ErrLines().size(), 1u) << refused.err;
    EXPECT_NE(refused.err.find("archive"), std::string::npos) << refused.err;
}

TEST_F(SpritesCommands, TheSheetRoundTripsWithDitheringAndFailuresAreOneLine)
{
    const std::string chair = Object("GameData/Objects/chair.iff");
    const std::string out = work_.File("chair");
    const CliResult sheet = RunCli({"sprites", "export", chair, "-o", out, "--sheet"});
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_NE(sheet.out.find("SHEET AT"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_regular_file(out + "/chair-maple-dining-128-sheet.png"));
    EXPECT_TRUE(std::filesystem::is_regular_file(out + "/chair-maple-dining-128-sheet-depth.png"));
    const CliResult taken = RunCli({"sprites", "import", chair, out, "--dither"});
    ASSERT_EQ(taken.status, 0) << taken.err;
    EXPECT_EQ(taken.out.rfind(chair + ": 1 sprites, 12 frames written from " + out + "\n  object 128: palette ", 0), 0u)
        << taken.out;

    const std::vector<uint8_t> kept = ReadBytes(chair);
    std::filesystem::remove(out + "/chair-maple-dining-128-sheet.png");
    const std::vector<std::pair<std::vector<std::string>, std::string>> failures = {
        {{"sprites", "import", chair, out}, out + "/chair-maple-dining-128-sheet.png: no such file"},
        {{"sprites", "import", chair, work_.File("none")}, work_.File("none") + "/sprites.json: no such file"},
        {{"sprites", "export", chair, "--id", "999", "-o", out}, chair + ": no object has OBJD id 999"},
        {{"sprites", "export", chair, "-o", chair}, chair + ": cannot be made a folder"},
    };
    for (const auto& [args, line] : failures) {
        const CliResult failed = RunCli(args);
        EXPECT_EQ(failed.status, 1);
        ASSERT_EQ(failed.ErrLines().size(), 1u) << failed.err;
        EXPECT_EQ(failed.ErrLines()[0].rfind("zelvane-cli: " + line, 0), 0u) << failed.err;
    }
    EXPECT_EQ(ReadBytes(chair), kept);
}
