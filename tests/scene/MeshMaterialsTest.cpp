// Meshes with materials: each face group drawn in its material's colour or
// with its texture (PNG, JPEG) while the faces in no group keep the object's
// material, wireframe drawing unchanged, two-sided groups, textures that do
// not load (drawn in colour, reported once), a group's texture replaced, and
// the materials section of scene files: absent without materials, read back
// exactly with them, refused when damaged.

#include "pngio/PngCodec.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/JpegPicture.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"
#include "tests/scene/GLStage.h"
#include "tests/scene/TestMesh.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zelvane {
namespace {

using test::At;

constexpr int kWidth = 240;
constexpr int kHeight = 80;
const Rgb kRed{255, 0, 0};
const Rgb kBlue{0, 0, 255};
const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};
// The four quarters of the checker, from the top left, clockwise.
const Rgb kChecker[4] = {{255, 255, 0}, {0, 255, 0}, {0, 255, 255}, {255, 0, 255}};

// Three squares of 2 × 2 units side by side along x (left, middle, right),
// two faces each: faces 0-1, 2-3, 4-5. `clockwise` winds the left square's
// faces the other way round, so that they face away from a view down −z.
test::TestMesh ThreeSquares(bool clockwise = false)
{
    test::TestMesh mesh;
    mesh.name = "squares";
    mesh.extents = {3, 1, 0};
    test::TestMeshPart part;
    part.name = "Row";
    for (int s = 0; s < 3; ++s) {
        const float left = -3.0f + 2.0f * static_cast<float>(s);
        const int base = static_cast<int>(part.vertices.size());
        part.vertices.insert(part.vertices.end(), {{left, -1, 0}, {left + 2, -1, 0}, {left + 2, 1, 0}, {left, 1, 0}});
        part.texCoords.insert(part.texCoords.end(), {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
        if (s == 0 && clockwise) {
            part.faces.push_back({{base, base + 2, base + 1}, {base, base + 2, base + 1}});
            part.faces.push_back({{base, base + 3, base + 2}, {base, base + 3, base + 2}});
        } else {
            part.faces.push_back({{base, base + 1, base + 2}, {base, base + 1, base + 2}});
            part.faces.push_back({{base, base + 2, base + 3}, {base, base + 2, base + 3}});
        }
    }
    mesh.parts.push_back(part);
    return mesh;
}

ModelMaterial Flat(std::string name, std::array<float, 3> colour, std::string texture = {})
{
    ModelMaterial material;
    material.name = std::move(name);
    material.ambient = colour;
    material.diffuse = colour;
    material.texturePath = std::move(texture);
    return material;
}

// Left square red, middle square textured (or `middle`'s colour when its
// texture does not load); the right one in no group.
ModelMaterials TwoGroups(const std::string& texture, bool twoSided = false)
{
    ModelMaterials materials;
    materials.materials.push_back(Flat("Red", {1, 0, 0}));
    materials.materials.back().twoSided = twoSided;
    materials.materials.push_back(Flat("Pictured", {0, 1, 0}, texture));
    materials.partGroups = {{{0, {0, 1}}, {1, {2, 3}}}};
    return materials;
}

// A 4 × 4 picture of 2 × 2 quarters in the checker's colours.
PlainImage Checker()
{
    PlainImage image(4, 4, 3);
    image.SetOrder(ChannelOrder::Rgb);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const Rgb& colour = kChecker[y < 2 ? (x < 2 ? 0 : 1) : (x < 2 ? 3 : 2)];
            std::uint8_t* pixel = image.Row(y).data() + 3 * x;
            pixel[0] = colour.red;
            pixel[1] = colour.green;
            pixel[2] = colour.blue;
        }
    return image;
}

std::string WriteCheckerPng(const test::TempDir& dir, const std::string& name)
{
    const PlainImage checker = Checker();
    PngImage png{4, 4, PngChannels::Rgb, {}};
    for (int y = 0; y < 4; ++y)
        png.pixels.insert(png.pixels.end(), checker.Row(y).begin(), checker.Row(y).end());
    std::string error;
    const std::string path = dir.File(name);
    EXPECT_TRUE(WritePngFile(path, png, error)) << error;
    return path;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// Draws `mesh` unscaled and unturned, looking down −z at 40 pixels a unit,
// lit by an ambient light of 1 alone, so that every face shows its ambient
// colour (times its texture) exactly.
PlainImage Drawn(test::GLStage& stage, COGLMesh& mesh, DrawFlags flags)
{
    mesh.SetScale(1, 1, 1);
    mesh.SetOrientation({});
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-3, 3, -1, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DITHER);
    glEnable(GL_CULL_FACE);
    const bool shaded = (flags & kDrawShaded) != 0;
    if (shaded) {
        const GLfloat full[4] = {1, 1, 1, 1};
        glEnable(GL_LIGHTING);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, full);
        for (int i = 0; i < 8; ++i)
            glDisable(GL_LIGHT0 + i);
    } else {
        glDisable(GL_LIGHTING);
        glColor3f(1, 1, 1);
    }
    mesh.Draw(flags);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    return stage.Context().ReadImage();
}

// Pixels at the centres of the squares' quarters: square s (0 to 2), quarter
// q (0 top left, clockwise).
Rgb Quarter(const PlainImage& image, int square, int quarter)
{
    const int x = 80 * square + (quarter == 0 || quarter == 3 ? 20 : 60);
    const int y = quarter < 2 ? 20 : 60;
    return At(image, x, y);
}

TEST(MeshMaterials, GroupsDrawTheirColoursAndTexturesAndTheRestTheObjectsMaterial)
{
    test::GLStage stage(kWidth, kHeight);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    const test::TempDir dir;
    test::TestMesh squares = ThreeSquares();
    test::RecordedMessages messages;
    COGLMesh mesh(squares.Set(), TwoGroups(WriteCheckerPng(dir, "checker.png")));
    mesh.SetAmbient(0, 0, 1, 1);
    mesh.SetDiffuse(1, 1, 1, 1);
    EXPECT_TRUE(mesh.MissingTextures().empty());

    const PlainImage shaded = Drawn(stage, mesh, kDrawShaded);
    for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(Quarter(shaded, 0, q), kRed) << "the red group, quarter " << q;
        // A textured group shows the picture through the object's ambient
        // colour, here blue: only the blue of each quarter is left.
        EXPECT_EQ(Quarter(shaded, 1, q), (Rgb{0, 0, kChecker[q].blue})) << "the textured group, quarter " << q;
        EXPECT_EQ(Quarter(shaded, 2, q), kBlue) << "faces in no group keep the object's material";
    }
    mesh.SetAmbient(1, 1, 1, 1);
    const PlainImage white = Drawn(stage, mesh, kDrawShaded);
    for (int q = 0; q < 4; ++q)
        EXPECT_EQ(Quarter(white, 1, q), kChecker[q]) << "each colour of the picture where it belongs, quarter " << q;

    const PlainImage wire = Drawn(stage, mesh, kDrawWireframe);
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(Quarter(wire, s, 0), kWhite) << "wireframe drawing knows no materials, square " << s;
    EXPECT_EQ(mesh.PickList(), mesh.MeshSolidList()) << "picking draws every face as one";
    EXPECT_TRUE(messages.Texts().empty());

    const std::vector<MeshGroupInfo> groups = mesh.Groups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].materialName, "Red");
    EXPECT_EQ(groups[1].faceCount, 2);
    EXPECT_TRUE(groups[1].textureShown);
    EXPECT_EQ(groups[1].texturePath, dir.File("checker.png"));
}

TEST(MeshMaterials, JpegTexturesAndReplacedTexturesAreDrawn)
{
    test::GLStage stage(kWidth, kHeight);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    const test::TempDir dir;
    const std::string jpeg = dir.File("checker.JPG");
    WriteBytes(jpeg, EncodeJpeg(Checker(), 100));
    test::TestMesh squares = ThreeSquares();
    COGLMesh mesh(squares.Set(), TwoGroups(jpeg));
    mesh.SetAmbient(1, 1, 1, 1);
    const PlainImage shaded = Drawn(stage, mesh, kDrawShaded);
    for (int q = 0; q < 4; ++q)
        EXPECT_TRUE(test::Near(Quarter(shaded, 1, q), kChecker[q], 24)) << "JPEG is lossy; quarter " << q;

    // The red group takes the PNG; a picture that does not load changes nothing.
    std::string problem;
    EXPECT_TRUE(mesh.SetGroupTexture(0, 0, WriteCheckerPng(dir, "other.png"), problem)) << problem;
    EXPECT_FALSE(mesh.SetGroupTexture(0, 1, dir.File("nothing.png"), problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_FALSE(mesh.SetGroupTexture(1, 0, "", problem)) << "no part 2";
    const PlainImage replaced = Drawn(stage, mesh, kDrawShaded);
    for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(Quarter(replaced, 0, q), kChecker[q]) << "quarter " << q;
        EXPECT_TRUE(test::Near(Quarter(replaced, 1, q), kChecker[q], 24)) << "quarter " << q;
    }
    EXPECT_TRUE(mesh.SetGroupTexture(0, 0, "", problem)) << "an empty path takes the texture away";
    EXPECT_EQ(Quarter(Drawn(stage, mesh, kDrawShaded), 0, 0), kRed);
}

TEST(MeshMaterials, MissingAndBrokenTexturesDrawTheColourAndAreReportedOnce)
{
    test::GLStage stage(kWidth, kHeight);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    const test::TempDir dir;
    const std::string broken = dir.File("broken.png");
    WriteBytes(broken, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H'});
    test::TestMesh squares = ThreeSquares();
    ModelMaterials materials = TwoGroups(dir.File("gone.bmp"));
    materials.materials[0].texturePath = broken;
    test::RecordedMessages messages;
    COGLMesh mesh(squares.Set(), materials);
    EXPECT_TRUE(messages.Texts().empty()) << "loading says nothing by itself";
    const std::vector<MissingTexture> missing = mesh.MissingTextures();
    ASSERT_EQ(missing.size(), 2u);
    // One message for the whole import, naming every file.
    const std::string text = mesh.MissingTexturesText("chair.3ds");
    EXPECT_NE(text.find("chair.3ds"), std::string::npos) << text;
    EXPECT_NE(text.find(broken), std::string::npos) << text;
    EXPECT_NE(text.find(dir.File("gone.bmp")), std::string::npos) << text;
    EXPECT_TRUE(messages.Texts().empty());

    const PlainImage shaded = Drawn(stage, mesh, kDrawShaded);
    EXPECT_EQ(Quarter(shaded, 0, 1), kRed);
    EXPECT_EQ(Quarter(shaded, 1, 1), (Rgb{0, 255, 0})) << "the material's own colour";
    EXPECT_FALSE(mesh.Groups()[1].textureShown);
    EXPECT_EQ(mesh.Groups()[1].texturePath, dir.File("gone.bmp")) << "the path stays, for saving and for the panel";
}

TEST(MeshMaterials, TwoSidedGroupsShowTheirBackFaces)
{
    test::GLStage stage(kWidth, kHeight);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    test::TestMesh squares = ThreeSquares(true);
    COGLMesh oneSided(squares.Set(), TwoGroups(""));
    EXPECT_EQ(Quarter(Drawn(stage, oneSided, kDrawShaded), 0, 0), kBlack) << "turned away, culled";
    COGLMesh twoSided(squares.Set(), TwoGroups("", true));
    EXPECT_EQ(Quarter(Drawn(stage, twoSided, kDrawShaded), 0, 0), kRed);
}

// --- Scene files ---------------------------------------------------------------

std::vector<std::uint8_t> Saved(const COGLScene& scene)
{
    SceneFileWriter out;
    scene.SaveScene(out);
    EXPECT_TRUE(out.Finish()) << out.Error();
    return out.Bytes();
}

SceneLoadResult Load(COGLScene& scene, std::span<const std::uint8_t> bytes, const std::string& path)
{
    SceneFileReader in(bytes);
    return scene.LoadScene(in, path);
}

TEST(MeshMaterialsFile, MaterialsFollowTheObjectsAndReadBackExactly)
{
    const test::TempDir dir;
    const std::string texture = WriteCheckerPng(dir, "checker.png");
    test::TestMesh squares = ThreeSquares();
    COGLScene plain;
    plain.AddObject(std::make_unique<COGLMesh>(squares.Set()));
    const std::vector<std::uint8_t> without = Saved(plain);

    COGLScene scene;
    ModelMaterials materials = TwoGroups(texture);
    materials.materials[0].specular = {0.25f, 0.5f, 1};
    materials.materials[0].shininess = 96;
    materials.materials[0].opacity = 0.5f;
    materials.materials[0].twoSided = true;
    scene.AddObject(std::make_unique<COGLMesh>(squares.Set(), materials));
    const std::vector<std::uint8_t> with = Saved(scene);
    ASSERT_GT(with.size(), without.size());
    EXPECT_TRUE(std::equal(without.begin(), without.end(), with.begin()))
        << "the objects are written as before; a reader that stops after them loads the meshes without materials";
    EXPECT_EQ(std::string(with.begin() + static_cast<long>(without.size()),
                          with.begin() + static_cast<long>(without.size()) + 4),
              "ZMAT");

    COGLScene loaded;
    const SceneLoadResult result = Load(loaded, with, dir.File("room.cgs"));
    ASSERT_TRUE(result.Complete()) << result.error;
    EXPECT_TRUE(result.missingModelTextures.empty());
    const auto& mesh = dynamic_cast<const COGLMesh&>(*loaded.Objects().at(0));
    EXPECT_EQ(mesh.Materials(), materials);
    EXPECT_EQ(mesh.Groups().at(1).texturePath, texture);
    EXPECT_TRUE(mesh.Groups().at(1).textureShown);
    EXPECT_EQ(Saved(loaded), with) << "saved again byte for byte";

    // A file without materials reads back into a file without them.
    COGLScene again;
    ASSERT_TRUE(Load(again, without, dir.File("room.cgs")).Complete());
    EXPECT_EQ(Saved(again), without);
}

TEST(MeshMaterialsFile, TexturesThatMovedAreFoundBesideTheSceneAndMissingOnesKeepTheirPaths)
{
    const test::TempDir dir;
    WriteCheckerPng(dir, "Checker.PNG");
    test::TestMesh squares = ThreeSquares();
    COGLScene scene;
    scene.AddObject(std::make_unique<COGLMesh>(squares.Set(), TwoGroups("/elsewhere/maps/checker.png")));
    ModelMaterials gone = TwoGroups("/elsewhere/maps/gone.png");
    scene.AddObject(std::make_unique<COGLMesh>(squares.Set(), gone));
    const std::vector<std::uint8_t> bytes = Saved(scene);

    COGLScene loaded;
    const SceneLoadResult result = Load(loaded, bytes, dir.File("room.cgs"));
    ASSERT_TRUE(result.Complete()) << result.error;
    const auto& moved = dynamic_cast<const COGLMesh&>(*loaded.Objects().at(0));
    EXPECT_EQ(moved.Groups().at(1).texturePath, dir.File("Checker.PNG"));
    EXPECT_TRUE(moved.Groups().at(1).textureShown);
    const auto& missing = dynamic_cast<const COGLMesh&>(*loaded.Objects().at(1));
    EXPECT_EQ(missing.Groups().at(1).texturePath, "/elsewhere/maps/gone.png");
    EXPECT_EQ(result.missingModelTextures, std::vector<std::string>{"/elsewhere/maps/gone.png"});
}

TEST(MeshMaterialsFile, DamagedSectionsStopWithAReasonAndOtherTrailingBytesAreIgnored)
{
    test::TestMesh squares = ThreeSquares();
    COGLScene plain;
    plain.AddObject(std::make_unique<COGLMesh>(squares.Set()));
    std::vector<std::uint8_t> junk = Saved(plain);
    junk.insert(junk.end(), {'J', 'U', 'N', 'K', 1, 2, 3, 4, 5});
    COGLScene withJunk;
    EXPECT_TRUE(Load(withJunk, junk, "/nowhere/a.cgs").Complete()) << "bytes of no section are left alone";
    EXPECT_FALSE(dynamic_cast<const COGLMesh&>(*withJunk.Objects().at(0)).HasMaterials());

    COGLScene scene;
    scene.AddObject(std::make_unique<COGLMesh>(squares.Set(), TwoGroups("")));
    const std::vector<std::uint8_t> good = Saved(scene);
    const std::size_t section = Saved(plain).size();
    const std::size_t entries = section + scene_file::kSectionHeaderSize;
    // The first group's first face: after the count, the position, the two
    // materials (names "Red" and "Pictured", no texture), the part count, the
    // group count, the material, the empty path and the face count.
    const std::size_t material = 4 + 9 * 4 + 4 + 4 + 1 + 4;
    const std::size_t firstFace = entries + 4 + 4 + 4 + (material + 3) + (material + 8) + 4 + 4 + 4 + 4 + 4;
    struct Damage {
        const char* what;
        std::size_t at;
        std::uint32_t word;
    };
    const Damage damages[] = {
        {"a length past the end", section + 4, 1000000},
        {"a length shorter than its entries", section + 4, 8},
        {"an object that is no mesh", entries + 4, 7},
        {"a face outside its part", firstFace, 6},
        {"a face in two groups", firstFace, 2},
        {"a material count past the end", entries + 8, 0x7FFFFFFF},
    };
    for (const Damage& damage : damages) {
        std::vector<std::uint8_t> bytes = good;
        for (int b = 0; b < 4; ++b)
            bytes[damage.at + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(damage.word >> (8 * b));
        COGLScene loaded;
        const SceneLoadResult result = Load(loaded, bytes, "/nowhere/a.cgs");
        EXPECT_FALSE(result.Complete()) << damage.what;
        EXPECT_NE(result.error.find("materials"), std::string::npos) << damage.what << ": " << result.error;
        ASSERT_EQ(loaded.Objects().size(), 1u) << damage.what << ": the objects read before stay";
        EXPECT_FALSE(dynamic_cast<const COGLMesh&>(*loaded.Objects()[0]).HasMaterials()) << damage.what;
    }
}

} // namespace
} // namespace zelvane
