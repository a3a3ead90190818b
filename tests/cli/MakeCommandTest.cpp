// `make` on the sample game: a model becomes a finished object (new GUIDs,
// the properties given, sprites rendered from the model, the scene beside
// it); a failure at any step names the step and leaves the outputs as they
// were; objects made one after another never share a GUID with each other
// or the game.

#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"
#include "tools/SampleMeshes.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <set>

using namespace zelvane;
using namespace zelvane::test;

namespace {

namespace fs = std::filesystem;

// The sample game with its Meshes folder, written once for the tests here.
class MakeCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        game_ = new TempDir;
        ASSERT_EQ(WriteSampleGame(game_->Path()).error, "");
        ASSERT_EQ(WriteSampleMeshes((game_->Path() / "Meshes").string()), "");
    }
    static void TearDownTestSuite()
    {
        delete game_;
        game_ = nullptr;
    }

    static std::string Game() { return game_->Path().string(); }
    static std::string Model(const std::string& name) { return (game_->Path() / "Meshes" / name).string(); }

    // make with the chair as base and `model`, writing `out` (and `scene`),
    // with the game folder and one sample a pixel; `more` after that.
    static CliResult Make(const std::string& model, const std::string& out, std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {"make",    "--game-folder", Game(), "--base", "GameData/Objects/chair.iff",
                                         "--model", model,           "-o",   out,      "--samples",
                                         "1"};
        args.insert(args.end(), more.begin(), more.end());
        return RunCli(args);
    }

    static nlohmann::json Described(const std::string& scene)
    {
        const CliResult run = RunCli({"scene", scene, "--json"});
        EXPECT_EQ(run.status, 0) << run.err;
        return nlohmann::json::parse(run.out);
    }

    static std::set<std::string> FilesIn(const fs::path& folder)
    {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(folder))
            names.insert(item.path().filename().string());
        return names;
    }

    static TempDir* game_;
};

TempDir* MakeCommand::game_ = nullptr;

} // namespace

TEST_F(MakeCommand, MakesAFinishedObjectFromAModel)
{
    const TempDir out;
    const std::string made = out.File("made.iff");
    const std::string scene = out.File("made.cgs");
    const CliResult json = Make(Model("Dining Chair.glb"), made,
                                {"--name", "Made Chair", "--price", "77", "--description", "From a model",
                                 "--no-shadow", "--scene", scene, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto result = nlohmann::json::parse(json.out);
    EXPECT_EQ(result["ok"], true);
    EXPECT_EQ(result["file"], made);
    EXPECT_EQ(result["scene"], scene);
    std::vector<std::string> steps;
    for (const auto& step : result["steps"])
        steps.push_back(step["step"]);
    EXPECT_EQ(steps, (std::vector<std::string>{"base", "clone", "import", "place", "properties", "render", "write"}));
    ASSERT_EQ(result["guids"].size(), 1u);
    EXPECT_EQ(result["guids"][0]["old_guid"], "0x5A3E0000");
    const std::string guid = result["guids"][0]["new_guid"];
    EXPECT_NE(guid, "0x5A3E0000");
    EXPECT_EQ(result["render"]["sprites"], nlohmann::json({200}));

    // The properties as given, the new GUID stored, the sprites drawn.
    const CliResult props = RunCli({"props", made, "--advanced", "--json"});
    ASSERT_EQ(props.status, 0) << props.err;
    std::map<std::string, std::string> values;
    const auto listed = nlohmann::json::parse(props.out);
    for (const auto& property : listed["properties"])
        values[property["name"]] = property["value"];
    EXPECT_EQ(values["Name"], "Made Chair");
    EXPECT_EQ(values["Price"], "77");
    EXPECT_EQ(values["Description"], "From a model");
    EXPECT_EQ(values["Shadow"], "-1");
    EXPECT_EQ(values["GUID"], std::to_string(static_cast<int32_t>(std::stoul(guid, nullptr, 16))));
    const CliResult preview = RunCli({"preview", made, "--json"});
    ASSERT_EQ(preview.status, 0) << preview.err;
    EXPECT_EQ(nlohmann::json::parse(preview.out)["notes"], nlohmann::json::array());

    // The scene holds the model by its path, placed as Import places it on one tile.
    const CliResult described = RunCli({"scene", scene, "--json"});
    ASSERT_EQ(described.status, 0) << described.err;
    const auto description = nlohmann::json::parse(described.out);
    EXPECT_EQ(description["cage"], nlohmann::json({1, 1, 1}));
    ASSERT_EQ(description["objects"].size(), 1u);
    const auto& mesh = description["objects"][0];
    EXPECT_EQ(mesh["model"], fs::absolute(Model("Dining Chair.glb")).lexically_normal().string());
    EXPECT_EQ(mesh["shapeMoves"].size(), 1u) << "centred on its box as Import does";
    EXPECT_NEAR(mesh["position"][0].get<double>(), 0.0, 1e-5);
    EXPECT_NEAR(mesh["position"][2].get<double>(), 0.0, 1e-5);
    EXPECT_GT(mesh["position"][1].get<double>(), 0.0) << "standing on the floor";
    // The bake takes the scene and its object file as the editor saved them.
    const CliResult baked = RunCli({"bake", scene, "-o", out.File("again.iff"), "--samples", "1"});
    EXPECT_EQ(baked.status, 0) << baked.err;

    // Without --json: one line per step, in order.
    const CliResult text = Make(Model("Reading Lamp.3ds"), out.File("lamp.iff"), {"--rotate", "90", "--fit"});
    ASSERT_EQ(text.status, 0) << text.err;
    std::vector<std::string> prefixes;
    for (size_t at = 0; at < text.out.size();) {
        const size_t end = text.out.find('\n', at);
        prefixes.push_back(text.out.substr(at, text.out.find(':', at) - at));
        at = end == std::string::npos ? text.out.size() : end + 1;
    }
    EXPECT_EQ(prefixes, (std::vector<std::string>{"base", "clone", "import", "place", "properties", "render", "write"}))
        << text.out;
}

TEST_F(MakeCommand, TurnsAndMovesTheModelsAfterPlacingThem)
{
    const TempDir out;
    const auto placed = [&](std::vector<std::string> more) {
        more.push_back("--json");
        const CliResult run = Make(Model("Dining Chair.glb"), out.File("chair.iff"), more);
        EXPECT_EQ(run.status, 0) << run.err;
        return nlohmann::json::parse(run.out)["models"][0];
    };
    const auto plain = placed({});
    const auto turned = placed({"--rotate", "90", "--offset", "0.25,0,-0.5"});
    // A quarter turn about the vertical swaps width and depth and keeps the height.
    EXPECT_NEAR(turned["size"][0].get<double>(), plain["size"][2].get<double>(), 1e-4);
    EXPECT_NEAR(turned["size"][2].get<double>(), plain["size"][0].get<double>(), 1e-4);
    EXPECT_NEAR(turned["size"][1].get<double>(), plain["size"][1].get<double>(), 1e-4);
    EXPECT_NEAR(turned["position"][0].get<double>(), plain["position"][0].get<double>() + 0.25, 1e-5);
    EXPECT_NEAR(turned["position"][2].get<double>(), plain["position"][2].get<double>() - 0.5, 1e-5);
    // Fitted: the larger of width and depth fills the tile.
    const auto fitted = placed({"--fit"});
    EXPECT_NEAR(std::max(fitted["size"][0].get<double>(), fitted["size"][2].get<double>()), 1.0, 1e-4);
}

TEST_F(MakeCommand, AMultiTileBaseGetsItsModelsOverItsTilesAndEveryTileItsShadow)
{
    // The loveseat's tiles are (0, 0) and (1, 0): scene z from 0.5 down to −1.5.
    const TempDir out;
    const std::string scene = out.File("sofa.cgs");
    const CliResult run = RunCli({"make", "--game-folder", Game(), "--base", "GameData/Objects/loveseat.iff", "--model",
                                  Model("Crate.glb"), "--fit", "--no-shadow", "--samples", "1", "-o",
                                  out.File("sofa.iff"), "--scene", scene, "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto result = nlohmann::json::parse(run.out);
    EXPECT_EQ(result["guids"].size(), 3u);
    EXPECT_EQ(result["render"]["sprites"].size(), 2u) << "a sprite a tile";
    const auto& placed = result["models"][0];
    EXPECT_NEAR(placed["position"][0].get<double>(), 0.0, 1e-5);
    EXPECT_NEAR(placed["position"][2].get<double>(), -0.5, 1e-5);
    EXPECT_NEAR(placed["size"][0].get<double>(), 1.0, 1e-4) << "fitted to the footprint's width of one tile";
    EXPECT_EQ(Described(scene)["cage"], nlohmann::json({1, 1, 2}));
    for (const char* id : {"128", "129", "130"}) {
        const CliResult props = RunCli({"props", out.File("sofa.iff"), "--id", id, "--advanced", "--json"});
        ASSERT_EQ(props.status, 0) << props.err;
        const auto listed = nlohmann::json::parse(props.out);
        for (const auto& property : listed["properties"]) {
            if (property["name"] == "Shadow") {
                EXPECT_EQ(property["value"], "-1") << "OBJD " << id;
            }
        }
    }
}

TEST_F(MakeCommand, AFailureAtAnyStepNamesItAndLeavesTheOutputsAsTheyWere)
{
    const TempDir out;
    const std::string made = out.File("made.iff");
    const std::string scene = out.File("made.cgs");
    const std::string garbage = out.File("broken.glb");
    WriteBytes(garbage, {'g', 'l', 'T', 'F', 2, 0, 0, 0, 99, 0, 0, 0});
    const std::string unknown = out.File("model.xyz");
    WriteBytes(unknown, {1, 2, 3});
    const std::set<std::string> before = FilesIn(out.Path());

    struct Case {
        std::string what;
        std::vector<std::string> args;
        std::string step;
    };
    const std::vector<Case> cases = {
        {"no such base", {"make", "--game-folder", Game(), "--base", "GameData/Objects/nothing.iff", "--model",
                          Model("Crate.glb"), "-o", made, "--scene", scene}, "base"},
        {"no such object in the base", {"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff", "--id",
                                        "999", "--model", Model("Crate.glb"), "-o", made, "--scene", scene}, "base"},
        {"a broken model", {"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff", "--model",
                            Model("Crate.glb"), garbage, "-o", made, "--scene", scene}, "import"},
        {"a model no plug-in reads", {"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff",
                                      "--model", unknown, "-o", made}, "import"},
        {"a missing model", {"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff", "--model",
                             out.File("gone.glb"), "-o", made}, "import"},
        {"a price out of range", {"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff", "--model",
                                  Model("Crate.glb"), "--price", "70000", "-o", made, "--scene", scene}, "properties"},
        {"an output folder that is not there", {"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff",
                                                "--model", Model("Crate.glb"), "-o", out.File("none/made.iff")}, "write"},
        {"a scene folder that is not there", {"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff",
                                              "--model", Model("Crate.glb"), "-o", made, "--scene",
                                              out.File("none/made.cgs")}, "write"},
        {"an output that is a folder", {"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff",
                                        "--model", Model("Crate.glb"), "-o", out.Path().string()}, "write"},
    };
    // The work files go where TMPDIR says, and go again.
    const TempDir work;
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string keptTmpdir = tmpdir ? tmpdir : "";
    setenv("TMPDIR", work.Path().c_str(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CliResult run = RunCli(c.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.rfind("zelvane-cli: make: " + c.step + ": ", 0), 0u) << run.err;
        EXPECT_EQ(run.ErrLines().size(), 1u) << run.err;
        EXPECT_EQ(FilesIn(out.Path()), before) << "nothing written, nothing left behind";
        EXPECT_EQ(FilesIn(work.Path()), std::set<std::string>()) << "no work files left";
    }
    if (tmpdir)
        setenv("TMPDIR", keptTmpdir.c_str(), 1);
    else
        unsetenv("TMPDIR");

    // With --json the failure is said on stdout too, after the steps done.
    const CliResult json = RunCli({"make", "--game-folder", Game(), "--base", "GameData/Objects/chair.iff", "--model",
                                   garbage, "-o", made, "--json"});
    EXPECT_EQ(json.status, 1);
    const auto failure = nlohmann::json::parse(json.out);
    EXPECT_EQ(failure["ok"], false);
    EXPECT_EQ(failure["failedStep"], "import");
    EXPECT_EQ(failure["steps"].size(), 2u);

    // An earlier file at the output stays as it was when a step fails.
    WriteBytes(made, {1, 2, 3, 4});
    const CliResult kept = Make(garbage, made, {"--scene", scene});
    EXPECT_EQ(kept.status, 1);
    EXPECT_EQ(ReadBytes(made), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_FALSE(fs::exists(scene));
}

TEST_F(MakeCommand, TwentyObjectsMadeOneAfterAnotherShareNoGuid)
{
    // Made into the game's downloads, where the catalog sees every earlier one.
    const fs::path downloads = game_->Path() / "Downloads" / "made";
    fs::create_directories(downloads);
    std::set<std::string> guids;
    std::set<std::string> game;
    const CliResult catalog = RunCli({"catalog", "--game-folder", Game(), "--json"});
    ASSERT_EQ(catalog.status, 0) << catalog.err;
    const auto listing = nlohmann::json::parse(catalog.out);
    for (const auto& object : listing["objects"])
        game.insert(object["guid"].get<std::string>());
    // The leak checker's thread-stopping tracer has crashed at the exit of
    // a run this long into the loop, after all its output (alongside Mesa's
    // threads, as the other rendering tests know); leaks are checked by the
    // tests above.
    const char* before = std::getenv("ASAN_OPTIONS");
    const std::string kept = before ? before : "";
    setenv("ASAN_OPTIONS", (kept.empty() ? "detect_leaks=0" : kept + ":detect_leaks=0").c_str(), 1);
    for (int i = 0; i < 20; ++i) {
        const CliResult run = Make(Model(i % 2 ? "Crate.glb" : "End Table.obj"),
                                   (downloads / ("made" + std::to_string(i) + ".iff")).string(), {"--json"});
        ASSERT_EQ(run.status, 0) << i << ": " << run.out << run.err;
        const std::string guid = nlohmann::json::parse(run.out)["guids"][0]["new_guid"];
        EXPECT_EQ(game.count(guid), 0u) << guid;
        EXPECT_TRUE(guids.insert(guid).second) << guid << " made twice";
    }
    if (before)
        setenv("ASAN_OPTIONS", kept.c_str(), 1);
    else
        unsetenv("ASAN_OPTIONS");
    const CliResult shared = RunCli({"guids", "--game-folder", Game(), "--json"});
    ASSERT_EQ(shared.status, 0) << shared.err;
    EXPECT_EQ(nlohmann::json::parse(shared.out)["shared_guids"], nlohmann::json::array());
    fs::remove_all(downloads);
}
