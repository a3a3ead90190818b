// Scene files on the command line: import writing one, scene listing one,
// render drawing one with its textures and imported meshes, and a damaged one.

#include "tests/cli/CliRunner.h"

#include "document/SceneFile.h"
#include "pngio/PngCodec.h"
#include "scene/COGLBox.h"
#include "scene/COGLScene.h"
#include "scene/WindowsBitmap.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tools/ThreeDSWriter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

// A closed box of 12 triangles, `half` file units from its centre to a side.
ThreeDSMesh Cube(float half)
{
    ThreeDSMesh mesh;
    mesh.name = "Cube";
    for (int i = 0; i < 8; ++i)
        mesh.vertices.push_back({i & 1 ? half : -half, i & 2 ? half : -half, i & 4 ? half : -half});
    mesh.mapping.resize(8, {0.5f, 0.5f});
    const std::uint16_t faces[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                                        {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
    for (const auto& face : faces)
        mesh.faces.push_back({face[0], face[1], face[2]});
    return mesh;
}

TEST(SceneCommands, ImportWritesASceneFileThatSceneLists)
{
    const TempDir dir;
    const std::string mesh = dir.File("crate.3ds");
    WriteBytes(mesh, WriteThreeDS({Cube(10)}));
    const std::string scene = dir.File("crate.cgs");
    const CliResult imported = RunCli({"import", mesh, "--scene", scene});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("\nscene file: " + scene + "\n"), std::string::npos) << imported.out;

    const CliResult text = RunCli({"scene", scene});
    ASSERT_EQ(text.status, 0) << text.err;
    // Standing on the footprint as the editor's Import places it: the
    // one-tile cube's middle half a tile above the floor.
    EXPECT_EQ(text.out, scene + ": 0 textures, 1 object\n\n"
                                "OBJECT  KIND  NAME  POSITION  SCALE           TEXTURE  DETAILS\n"
                                "     1  Mesh  Mesh  0,0.5,0   0.05,0.05,0.05  -        'crate': 1 part, 12 faces, 8 vertices\n");

    const CliResult json = RunCli({"scene", scene, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto listing = nlohmann::json::parse(json.out);
    const auto& object = listing["objects"].at(0);
    EXPECT_EQ(object["kindCode"], 14);
    EXPECT_EQ(object["mesh"]["parts"].at(0), nlohmann::json({{"name", "Cube"}, {"faces", 12}, {"vertices", 8}, {"texCoords", 8}}));
    EXPECT_EQ(object["mesh"]["extents"], nlohmann::json({10.0, 10.0, 10.0}));
    EXPECT_EQ(listing["objectFile"], nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.File("crate.iff")));

    // The scene remembers the model it came from, after the objects.
    EXPECT_EQ(object["model"], std::filesystem::absolute(mesh).lexically_normal().string());
    std::vector<std::uint8_t> cut = ReadBytes(scene);
    const std::string bytes(cut.begin(), cut.end());
    const std::size_t sources = bytes.rfind("ZSRC");
    ASSERT_NE(sources, std::string::npos);
    cut.resize(sources - 20);
    WriteBytes(scene, cut);
    const CliResult broken = RunCli({"scene", scene});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("Failed to open document."), std::string::npos) << broken.err;
    EXPECT_NE(broken.err.find("object 1 of 1 (Mesh)"), std::string::npos) << broken.err;
}

// How many pixels are clearly red.
// Pixels whose channel `channel` (0 red, 1 green) exceeds the other two by 60.
int PixelsOf(const std::string& png, std::size_t channel)
{
    PngImage image;
    std::string error;
    EXPECT_TRUE(ReadPngFile(png, image, error)) << error;
    int count = 0;
    for (std::size_t i = 0; i + 2 < image.pixels.size(); i += static_cast<std::size_t>(image.channels)) {
        const int value = image.pixels[i + channel];
        count += value > image.pixels[i + (channel + 1) % 3] + 60 && value > image.pixels[i + (channel + 2) % 3] + 60;
    }
    return count;
}

int RedPixels(const std::string& png)
{
    return PixelsOf(png, 0);
}

TEST(SceneCommands, RenderDrawsASceneFileWithItsTexturesAndImportedMeshes)
{
    const TempDir dir;
    // A red texture beside the scene file.
    PlainImage red(8, 8, 3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            red.Row(y)[static_cast<std::size_t>(x) * 3 + 2] = 255;
    WriteBytes(dir.File("brick.bmp"), EncodeWindowsBitmap(red));
    {
        RecordingReporter quiet;
        SetReporter(&quiet);
        COGLScene scene;
        COGLTexture2D& brick = scene.AddTexture(std::make_unique<COGLTexture2D>());
        brick.SetSource(dir.File("brick.bmp"), 0);
        COGLObject& box = scene.AddObject(std::make_unique<COGLBox>());
        box.SetTexture(&brick);
        box.SetPosition(1.5f, 0.5f, 1.5f);
        ASSERT_TRUE(WriteSceneFile(dir.File("room.cgs"), scene).ok());
        SetReporter(nullptr);
    }
    const std::string mesh = dir.File("crate.3ds");
    WriteBytes(mesh, WriteThreeDS({Cube(10)}));

    const std::string out = dir.File("room.png");
    const CliResult drawn = RunCli({"render", "-o", out, "--size", "320x240", "--scene", dir.File("room.cgs"),
                                    "--import", mesh, "--add", "sphere@-1,1,1", "--select", "2"});
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(drawn.err, "");
    EXPECT_EQ(drawn.out, out + ": 320 x 240 pixels, 3 objects besides the floor and walls\n");
    EXPECT_GT(RedPixels(out), 100) << "the box wears its texture";

    // Without the texture file the box is drawn plain, and render says why.
    std::filesystem::remove(dir.File("brick.bmp"));
    const CliResult plain = RunCli({"render", "-o", out, "--size", "320x240", "--scene", dir.File("room.cgs")});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.err.find("texture '" + dir.File("brick.bmp") + "' is neither where the file says nor beside it"),
              std::string::npos)
        << plain.err;
    EXPECT_LT(RedPixels(out), 10);

    const CliResult tooFar = RunCli({"render", "-o", out, "--scene", dir.File("room.cgs"), "--select", "2"});
    EXPECT_EQ(tooFar.status, 1);
    EXPECT_NE(tooFar.err.find("--select takes the number of an object, 1 to 1"), std::string::npos) << tooFar.err;
}

int GreenPixels(const std::string& png)
{
    return PixelsOf(png, 1);
}

TEST(SceneCommands, RenderDrawsAnImportedModelsMaterialsAndTexturesAndSaysWhichAreMissing)
{
    const TempDir dir;
    PngImage red{8, 8, PngChannels::Rgb, {}};
    for (int i = 0; i < 64; ++i)
        red.pixels.insert(red.pixels.end(), {230, 30, 30});
    std::string error;
    ASSERT_TRUE(WritePngFile(dir.File("crate.png"), red, error)) << error;
    const auto render = [&](const std::string& texture) {
        ThreeDSMesh cube = Cube(10);
        cube.groups = {{"Paint", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}};
        ThreeDSMaterial paint{"Paint", {20, 200, 20}, texture};
        paint.diffuse = std::array<std::uint8_t, 3>{20, 220, 20};
        const std::string mesh = dir.File("crate.3ds");
        WriteBytes(mesh, WriteThreeDS({cube}, {paint}));
        return RunCli({"render", "-o", dir.File("out.png"), "--size", "320x240", "--import", mesh});
    };

    const CliResult painted = render("");
    ASSERT_EQ(painted.status, 0) << painted.err;
    EXPECT_GT(GreenPixels(dir.File("out.png")), 100) << "the material's colour";
    EXPECT_LT(RedPixels(dir.File("out.png")), 10);

    const CliResult textured = render("CRATE.PNG");
    ASSERT_EQ(textured.status, 0) << textured.err;
    EXPECT_EQ(textured.err, "");
    EXPECT_GT(RedPixels(dir.File("out.png")), 100) << "the texture beside the model, named in another case";
    EXPECT_LT(GreenPixels(dir.File("out.png")), 10);

    const CliResult missing = render("GONE.PNG");
    ASSERT_EQ(missing.status, 0) << missing.err << ": a missing texture loses nothing else";
    EXPECT_NE(missing.err.find(dir.File("GONE.PNG")), std::string::npos) << missing.err;
    EXPECT_GT(GreenPixels(dir.File("out.png")), 100) << "drawn in the material's colour";
}

} // namespace
