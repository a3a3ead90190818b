// `bake`: a scene file saved with its object file is rendered into that
// file's sprites, in place or into another file, and what was written is
// said; without an object file, or for an object it does not list, it says why.

#include "tests/cli/CliRunner.h"

#include "document/SceneFile.h"
#include "document/WorkingObjectFile.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "resfile/CTGFileSystem.h"
#include "scene/COGLBox.h"
#include "scene/COGLScene.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

// "room.cgs" holding a box, saved by the document with the sample chair
// cloned as its object file ("room.iff").
std::string SaveRoom(const TempDir& dir)
{
    RecordingReporter quiet;
    SetReporter(&quiet);
    const std::string working = dir.File("zeltemp.iff");
    EXPECT_EQ(WriteSampleGame(dir.Path() / "game").error, "");
    {
        ObjectCatalog catalog;
        catalog.Rebuild((dir.Path() / "game").string());
        for (const CObjectEntry* object : catalog.ListedObjects())
            if (object->ResourceName() == "Chair - Maple Dining") {
                CloneOptions options;
                options.targetPath = working;
                EXPECT_TRUE(CloneObject(*object, options).succeeded);
            }
        catalog.Clear();
        CTGFileSystem::Instance().Reset();
    }
    COGLScene scene;
    scene.AddObject(std::make_unique<COGLBox>());
    WorkingObjectFile workingFile(working);
    // A scene file named like the working file lies beside it: it takes that file as it is.
    const Result<WorkingObjectFile::SceneCopyOutcome> taken = workingFile.TakeFromScene(dir.File("zeltemp.cgs"));
    EXPECT_TRUE(taken && *taken == WorkingObjectFile::SceneCopyOutcome::Taken) << taken.Message();
    const std::string room = dir.File("room.cgs");
    EXPECT_TRUE(WriteSceneFile(room, scene).ok());
    EXPECT_TRUE(workingFile.CopyBesideScene(room).ok());
    SetReporter(nullptr);
    return room;
}

} // namespace

TEST(BakeCommand, RendersTheScenesObjectsIntoTheObjectFileBesideIt)
{
    const TempDir dir;
    const std::string room = SaveRoom(dir);
    const std::string beside = dir.File("room.iff");
    ASSERT_TRUE(std::filesystem::exists(beside));
    const std::vector<uint8_t> before = ReadBytes(beside);

    const std::string out = dir.File("baked.iff");
    const CliResult json = RunCli({"bake", room, "-o", out, "--json", "--samples", "2"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto written = nlohmann::json::parse(json.out);
    EXPECT_EQ(written["file"], out);
    EXPECT_EQ(written["object"], "Chair - Maple Dining");
    EXPECT_EQ(written["objects"], 1);
    EXPECT_EQ(written["sprites"], nlohmann::json({200}));
    EXPECT_EQ(written["drawGroups"], nlohmann::json({100}));
    EXPECT_EQ(written["palette"], 200);
    EXPECT_GE(written["psnr"].get<double>(), 35.0);
    EXPECT_EQ(ReadBytes(beside), before); // -o leaves the scene's own file alone
    const CliResult preview = RunCli({"preview", out, "--id", "128", "--json"});
    ASSERT_EQ(preview.status, 0) << preview.err;
    EXPECT_EQ(nlohmann::json::parse(preview.out)["notes"], nlohmann::json::array());

    const CliResult inPlace = RunCli({"bake", room});
    ASSERT_EQ(inPlace.status, 0) << inPlace.err;
    EXPECT_EQ(inPlace.out, beside + ": 'Chair - Maple Dining' rendered from 1 object: sprites 200, draw groups 100, "
                                    "palette 200 (" +
                               inPlace.out.substr(inPlace.out.find('(') + 1));
    EXPECT_NE(ReadBytes(beside), before);
}

TEST(BakeCommand, SaysWhyItCannot)
{
    const TempDir dir;
    const std::string room = SaveRoom(dir);
    const CliResult unknown = RunCli({"bake", room, "--object", "Sofa"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "zelvane-cli: " + dir.File("room.iff") + ": it lists no object named 'Sofa'\n");

    std::filesystem::remove(dir.File("room.iff"));
    const CliResult alone = RunCli({"bake", room});
    EXPECT_EQ(alone.status, 1);
    EXPECT_EQ(alone.err, "zelvane-cli: " + room + ": no object file beside it (" + dir.File("room.iff") +
                             "): the editor saves the working object file there with the scene\n");
}
