// `scene --from-json`: a script's short description becomes a scene file
// whose objects stand where Insert and Import put them; a scene written,
// described and written again is the same file byte for byte; a description
// with a fault is refused with the JSON pointer of the first one, and no
// file is written.

#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleMeshes.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

using namespace zelvane;
using namespace zelvane::test;

namespace {

namespace fs = std::filesystem;

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The description `scene FILE --json` prints, without the one member that
// names the file described.
nlohmann::json Described(const std::string& scene)
{
    const CliResult run = RunCli({"scene", scene, "--json"});
    EXPECT_EQ(run.status, 0) << run.err;
    nlohmann::json description = nlohmann::json::parse(run.out);
    description.erase("file");
    description.erase("objectFile");
    return description;
}

} // namespace

TEST(SceneDescription, AScriptsSceneWrittenDescribedAndWrittenAgainIsTheSameFile)
{
    const TempDir dir;
    ASSERT_EQ(WriteSampleMeshes(dir.File("Meshes")), "");
    // Relative paths are the description's folder's; values left out are
    // the editor's: Insert's sizes, Import's placement, on the cage.
    WriteText(dir.File("spec.json"), R"({
      "cage": [2, 1, 1],
      "textures": [{"stored": "Meshes/crate planks.png"}],
      "objects": [
        {"kind": "Box", "textureIndex": 0, "diffuse": [1, 0.5, 0.25, 1]},
        {"kind": "Plane", "tessellated": true, "visible": false},
        {"kind": "Text", "text": {"text": "Café 1,2", "font": "Arial", "extrusion": 0.25}, "position": [0, 1, 0]},
        {"kind": "Mesh", "model": "Meshes/Crate.glb"},
        {"kind": "Mesh", "model": "Meshes/End Table.obj", "position": [0.5, 0, 0], "orientation": [0, 0.70710677, 0, 0.70710677],
         "materials": [{"name": "Red", "diffuse": [1, 0, 0]}],
         "groups": [[{"material": 0, "faces": [0, 1, 2]}]]},
        {"kindCode": 9, "scale": [1, 2, 3]},
        {"kind": "Sphere", "texture": "Meshes/crate planks.png"},
        {"kind": "Disk", "texture": "Meshes/Crate.mtl"}
      ]})");
    const std::string first = dir.File("first.cgs");
    const CliResult written = RunCli({"scene", "--from-json", dir.File("spec.json"), "-o", first});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, first + ": 2 textures, 8 objects written\n");
    EXPECT_EQ(written.ErrLines().size(), 1u) << written.err;
    EXPECT_NE(written.err.find("/objects/7/texture: the picture"), std::string::npos) << written.err;

    const nlohmann::json description = Described(first);
    EXPECT_EQ(description["cage"], nlohmann::json({2, 1, 1}));
    EXPECT_EQ(description["textures"][0]["stored"], fs::absolute(dir.File("Meshes/crate planks.png")).string());
    const auto& objects = description["objects"];
    ASSERT_EQ(objects.size(), 8u);
    EXPECT_EQ(objects[0]["textureIndex"], 0);
    EXPECT_EQ(objects[0]["diffuse"], nlohmann::json({1.0, 0.5, 0.25, 1.0}));
    EXPECT_EQ(objects[0]["position"], nlohmann::json({0.0, 0.5, 0.0})) << "a unit box on the floor";
    EXPECT_EQ(objects[1]["tessellated"], true);
    EXPECT_EQ(objects[1]["visible"], false);
    EXPECT_EQ(objects[2]["text"]["text"], "Café 1,2");
    EXPECT_EQ(objects[2]["text"]["extrusion"], 0.25);
    EXPECT_EQ(objects[3]["model"], fs::absolute(dir.File("Meshes/Crate.glb")).lexically_normal().string());
    EXPECT_EQ(objects[3]["shapeMoves"].size(), 1u);
    EXPECT_EQ(objects[3]["materials"].size(), 1u) << "the model's own";
    EXPECT_EQ(objects[4]["materials"][0]["diffuse"], nlohmann::json({1.0, 0.0, 0.0}));
    EXPECT_EQ(objects[4]["groups"][0][0]["faces"], nlohmann::json({0, 1, 2}));
    EXPECT_EQ(objects[4]["shapeMoves"].size(), 1u);
    EXPECT_EQ(objects[4]["position"], nlohmann::json({0.5, 0.0, 0.0}));
    EXPECT_EQ(objects[5]["kind"], "Cylinder");
    EXPECT_EQ(objects[5]["scale"], nlohmann::json({1.0, 2.0, 3.0}));
    // A texture named by its path takes the record stored under it, or a new one.
    EXPECT_EQ(objects[6]["textureIndex"], 0);
    EXPECT_EQ(objects[7]["textureIndex"], 1);
    EXPECT_EQ(description["textures"][1]["stored"], fs::absolute(dir.File("Meshes/Crate.mtl")).string());

    // Written again from the description, from another folder: the same bytes,
    // and the same description.
    const TempDir elsewhere;
    const std::string spec = elsewhere.File("described.json");
    WriteText(spec, description.dump(2));
    const std::string second = elsewhere.File("second.cgs");
    const CliResult again = RunCli({"scene", "--from-json", spec, "-o", second});
    ASSERT_EQ(again.status, 0) << again.err;
    // Every picture and model is found but the one that is no picture, whose
    // record stays all the same.
    ASSERT_EQ(again.ErrLines().size(), 1u) << again.err;
    EXPECT_NE(again.err.find("/textures/1/stored: the picture " + fs::absolute(dir.File("Meshes/Crate.mtl")).string() +
                             " does not load"),
              std::string::npos)
        << again.err;
    EXPECT_EQ(ReadBytes(second), ReadBytes(first));
    nlohmann::json redescribed = Described(second);
    EXPECT_EQ(redescribed, description);
}

TEST(SceneDescription, RefusedDescriptionsNameTheFirstFaultAndWriteNothing)
{
    const TempDir dir;
    ASSERT_EQ(WriteSampleMeshes(dir.File("Meshes")), "");
    const std::string spec = dir.File("spec.json");
    const std::string out = dir.File("out.cgs");
    struct Case {
        std::string json;
        std::string error;
    };
    const std::vector<Case> cases = {
        {R"({"objects": [{"kind": "Box"}, {"kind": "Box"}, {"kind": "Box"}, {"kind": "Box", "position": [0, "up", 0]}]})",
         "/objects/3/position/1: expected a number"},
        {R"({"objects": [{"kind": "Box", "position": [0, 1]}]})", "/objects/0/position: expected 3 numbers, found 2"},
        {R"({"objects": [{"kind": "Box", "postion": [0, 1, 0]}]})", "/objects/0/postion: no such member here"},
        {R"({"objects": [{"kind": "Teapot"}]})",
         "/objects/0/kind: no object is called \"Teapot\" (Plane, Floor, Box, Sphere, Right Wall, Left Wall, Ceiling, "
         "Text, Rod, Cylinder, Cone, Disk, Billboard, Mesh)"},
        {R"({"objects": [{"kindCode": 12}]})", "/objects/0/kindCode: no object has kind 12"},
        {R"({"objects": [{"kind": "Box", "kindCode": 3}]})", "/objects/0/kind: kindCode 3 is a Sphere"},
        {R"({"objects": [{}]})", "/objects/0: an object says its kind (\"kind\" or \"kindCode\")"},
        {R"({"objects": [{"kind": "Mesh"}]})",
         "/objects/0: a mesh is described by its model file (\"model\"); this one's scene file does not say which model "
         "it came from"},
        {R"({"objects": [{"kind": "Mesh", "model": "Meshes/none.glb"}]})",
         "/objects/0/model: " + dir.File("Meshes/none.glb") + ": cannot open"},
        {R"({"objects": [{"kind": "Mesh", "model": "Meshes/Crate.glb", "groups": [[{"material": 0, "faces": 5}]]}]})",
         "/objects/0/groups/0/0/faces: the model's group has 12 faces"},
        {R"({"objects": [{"kind": "Mesh", "model": "Meshes/Crate.glb", "groups": [[{"material": 3, "faces": 12}]]}]})",
         "/objects/0/groups: the materials do not fit the model: "},
        {R"({"objects": [{"kind": "Box", "model": "Meshes/Crate.glb"}]})", "/objects/0/model: only meshes have this"},
        {R"({"objects": [{"kind": "Box", "textureIndex": 1}]})", "/objects/0/textureIndex: there are 0 textures"},
        {R"({"objects": [{"kind": "Box", "flags": -1}]})",
         "/objects/0/flags: expected a whole number from 0 to 4294967295"},
        {R"({"objects": [{"kind": "Box", "shininess": 1e300}]})",
         "/objects/0/shininess: expected a number a 32-bit float holds"},
        {R"({"objects": [{"kind": "Text", "text": {"text": "Ω"}}]})",
         "/objects/0/text/text: only the characters of the Western code page (Windows-1252) can be drawn"},
        {R"({"cage": [0, 1, 1]})", "/cage/0: expected a whole number from 1 to 255"},
        {R"({"textures": [{"flag": 1}]})", "/textures/0: a texture gives its path (\"stored\")"},
        {R"({"objects": {"kind": "Box"}})", "/objects: expected an array"},
        {R"([1, 2])", "/: expected an object"},
        {R"({"objects": [)", "/: not JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        WriteText(spec, c.json);
        const CliResult run = RunCli({"scene", "--from-json", spec, "-o", out});
        EXPECT_EQ(run.status, 1);
        const std::string expected = "zelvane-cli: " + spec + ": " + c.error;
        EXPECT_EQ(run.err.substr(0, expected.size()), expected) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }

    const CliResult usage = RunCli({"scene", "--from-json", spec});
    EXPECT_EQ(usage.status, 1);
    EXPECT_EQ(usage.err, "zelvane-cli: scene: --from-json needs -o FILE.cgs, the scene file to write\n");
}
