// plugins and import with the plug-ins the build puts beside zelvane-cli
// (meshport and modelport): the About box's lines, an import as text and JSON, and
// the files and names it refuses.

#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"
#include "tools/ThreeDSWriter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <set>

using namespace zelvane;
using namespace zelvane::test;

namespace {

ThreeDSMesh Box(std::string name, float size, uint16_t vertices)
{
    ThreeDSMesh mesh;
    mesh.name = std::move(name);
    for (uint16_t i = 0; i < vertices; ++i)
        mesh.vertices.push_back({i % 2 ? size : -size, i % 4 < 2 ? size : -size, i < 4 ? size : -size});
    for (uint16_t i = 0; i + 2 < vertices; ++i)
        mesh.faces.push_back({i, static_cast<uint16_t>(i + 1), static_cast<uint16_t>(i + 2)});
    mesh.mapping.resize(vertices, {0.5f, 0.5f});
    return mesh;
}

} // namespace

TEST(PluginCommands, PluginsListsBothPluginsAsTheAboutBoxDoes)
{
    const CliResult text = RunCli({"plugins"});
    ASSERT_EQ(text.status, 0) << text.err;
    // In the order the folder lists them, which the file system chooses.
    EXPECT_EQ(text.out.substr(0, 19), "2 plug-ins loaded\n\n");
    EXPECT_NE(text.out.find("\nName: 3D Studio Importer\nAuthor: The zelvane developers\n"
                            "Description: Imports files made in the 3D Studio (3ds) format.\n"),
              std::string::npos);
    EXPECT_NE(text.out.find("\nName: glTF and OBJ Importer\n"), std::string::npos);

    const CliResult json = RunCli({"plugins", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto listing = nlohmann::json::parse(json.out);
    ASSERT_EQ(listing["plugins"].size(), 2u);
    const bool meshportFirst = listing["plugins"][0]["name"] == "3D Studio Importer";
    const auto& meshport = listing["plugins"][meshportFirst ? 0 : 1];
    EXPECT_EQ(meshport["filter"], "3D Studio Files (*.3ds)|*.3ds||");
    EXPECT_EQ(meshport["menuName"], "&3D Studio files");
    EXPECT_EQ(meshport["extensions"], nlohmann::json::array({"3ds"}));
    EXPECT_EQ(meshport["exports"].size(), 8u) << "the seven and the materials";
    const auto& modelport = listing["plugins"][meshportFirst ? 1 : 0];
    EXPECT_EQ(modelport["filter"], "glTF and OBJ Models (*.gltf *.glb *.obj)|*.gltf;*.glb;*.obj||");
    EXPECT_EQ(modelport["extensions"], nlohmann::json::array({"gltf", "glb", "obj"}));
    EXPECT_EQ(modelport["exports"].size(), 10u) << "the seven, the materials, the extensions and the model";
    EXPECT_EQ(std::set<int>({meshport["command"].get<int>(), modelport["command"].get<int>()}),
              (std::set<int>{33000, 33001}));
    EXPECT_TRUE(listing["skipped"].empty());
}

TEST(PluginCommands, ImportPrintsPartsCountsMaterialsAndExtents)
{
    const TempDir dir;
    const std::string path = dir.File("Chair.3DS");
    WriteBytes(path, WriteThreeDS({Box("Seat", 2.0f, 8), Box("Back", 1.0f, 6)},
                                  {{"Wood", {10, 20, 30}, "wood.bmp"}, {"Cloth", {}, ""}}));

    const CliResult json = RunCli({"import", path, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto result = nlohmann::json::parse(json.out);
    EXPECT_EQ(result["name"], "Chair");
    EXPECT_EQ(result["plugin"]["name"], "3D Studio Importer");
    EXPECT_EQ(result["totals"], nlohmann::json({{"parts", 2}, {"faces", 10}, {"vertices", 14}, {"texCoords", 14}}));
    ASSERT_EQ(result["parts"].size(), 2u);
    EXPECT_EQ(result["parts"][1], nlohmann::json({{"name", "Back"}, {"faces", 4}, {"vertices", 6}, {"texCoords", 6}}));
    EXPECT_EQ(result["extents"], nlohmann::json({2.0, 2.0, 2.0}));
    ASSERT_EQ(result["materials"].size(), 2u);
    EXPECT_EQ(result["materials"][0]["texture"], dir.File("wood.bmp")) << "resolved beside the mesh file";
    EXPECT_EQ(result["materials"][0]["textureFound"], false);
    EXPECT_EQ(result["materials"][0]["ambient"], nlohmann::json({10, 20, 30}));
    EXPECT_EQ(result["materials"][1]["texture"], "");
    EXPECT_TRUE(result["groups"].empty()) << "no face is in a group";

    const CliResult text = RunCli({"import", path});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              path + ": 2 parts, 10 faces, 14 vertices, 14 mapping coordinates (3D Studio Importer, meshport.so)");
    EXPECT_NE(text.out.find("\nextents: 2 2 2\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("wood.bmp"), std::string::npos) << text.out;

    // Any name, when the plug-in is named.
    const std::string renamed = dir.File("chair.mesh");
    std::filesystem::copy_file(path, renamed);
    const CliResult named = RunCli({"import", renamed, "--plugin", "meshport", "--json"});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(nlohmann::json::parse(named.out)["totals"]["faces"], 10);
}

TEST(PluginCommands, ImportRefusesWhatNoPluginCanRead)
{
    const TempDir dir;
    const std::string mesh = dir.File("chair.mesh");
    WriteBytes(mesh, WriteThreeDS({Box("Seat", 1.0f, 3)}));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"import", dir.File("missing.3ds")}, dir.File("missing.3ds") + ": cannot open: No such file or directory"},
        {{"import", dir.Path().string()}, dir.Path().string() + ": not a regular file"},
        {{"import", mesh}, mesh + ": no plug-in reads this kind of file; name one with --plugin"},
        {{"import", mesh, "--plugin", "nosuch"}, "nosuch: no such plug-in (see zelvane-cli plugins)"},
    };
    for (const auto& [args, message] : cases) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 1) << message;
        EXPECT_EQ(result.err, "zelvane-cli: " + message + "\n");
        EXPECT_EQ(result.out, "");
    }
}
