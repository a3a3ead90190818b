// The scene's part of a scene file: where the counts, texture records, the
// common record and the kinds' tails lie; every kind read back as written;
// textures found, asked for and dropped; and files that cannot be read as
// written, which stop with a reason and keep what came before.

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"
#include "resfile/CTGFile.h"
#include "scene/COGLBox.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/ObjectFactory.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"
#include "scene/WindowsBitmap.h"
#include "tests/scene/GLStage.h"
#include "tests/scene/TestMesh.h"
#include "tests/testkit/RecordingProgress.h"
#include "tests/testkit/ScriptedFileDialog.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <typeinfo>

namespace zelvane {
namespace {

using namespace scene_file;

constexpr std::size_t kCounts = 8;

std::vector<std::uint8_t> Saved(const COGLScene& scene)
{
    SceneFileWriter out;
    scene.SaveScene(out);
    EXPECT_TRUE(out.Finish()) << out.Error();
    return out.Bytes();
}

// Reads `bytes` as the scene's part of the scene file `path`.
SceneLoadResult Load(COGLScene& scene, std::span<const std::uint8_t> bytes, const std::string& path = "/nowhere/a.cgs")
{
    SceneFileReader in(bytes);
    return scene.LoadScene(in, path);
}

std::uint32_t WordAt(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    ByteReader in(bytes);
    in.seek(offset);
    return in.u32le();
}

float FloatAt(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return std::bit_cast<float>(WordAt(bytes, offset));
}

void PutWordAt(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    ByteSpanWriter out(bytes);
    out.seek(offset);
    out.u32le(value);
}

// A small bitmap in `folder`, so that textures naming it load.
std::string WriteTexture(const test::TempDir& folder, const std::string& name)
{
    const std::string path = folder.File(name);
    test::WriteBytes(path, EncodeWindowsBitmap(PlainImage(2, 2, 3, 0x80)));
    return path;
}

COGLTexture2D& AddTexture(COGLScene& scene, const std::string& path)
{
    auto texture = std::make_unique<COGLTexture2D>();
    texture->SetSource(path, 0);
    return scene.AddTexture(std::move(texture));
}

TEST(SceneFileLayout, TheCommonRecordHoldsEveryFieldAtItsOffsetAndReadsBack)
{
    test::TempDir folder;
    COGLScene scene;
    COGLTexture2D& stone = AddTexture(scene, WriteTexture(folder, "stone.bmp"));
    COGLObject& box = scene.AddObject(std::make_unique<COGLBox>());
    box.SetName("Crate");
    box.SetAmbient(0.1f, 0.2f, 0.3f, 0.4f);
    box.SetDiffuse(0.5f, 0.6f, 0.7f, 0.8f);
    box.SetSpecular(0.9f, 1.0f, 0.25f, 0.5f);
    box.SetEmission(0.125f, 0.375f, 0.625f, 0.875f);
    box.SetShininess(42);
    box.RotateY(30);
    box.SetScale(2, 3, 4);
    box.SetPosition(5, 6, 7);
    box.Hide();
    box.SetTransparent(true);
    box.SetMarked();
    box.SetPickStyle(3);
    box.SetFlags(0x11);
    box.SetTexture(&stone);
    box.SetTextureRotation({10, 20, 30});
    box.SetTextureScale({2, 4, 8});
    box.SetTextureOffset({0.5f, 0.25f, 0.125f});
    box.SetTextureEnvMode(GL_DECAL);
    box.SetSpareWord(-9);
    ASSERT_EQ(box.Texture(), &stone);

    const std::vector<std::uint8_t> bytes = Saved(scene);
    ASSERT_EQ(bytes.size(), kCounts + kTextureRecordSize + kKindCodeSize + kCommonRecordSize);
    EXPECT_EQ(WordAt(bytes, 0), 1u) << "object count";
    EXPECT_EQ(WordAt(bytes, 4), 1u) << "texture count";
    EXPECT_EQ(bytes[8], 0) << "texture flag";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[9])), stone.Path());
    EXPECT_TRUE(std::all_of(bytes.begin() + 9 + static_cast<std::ptrdiff_t>(stone.Path().size()),
                            bytes.begin() + 8 + kTextureRecordSize, [](std::uint8_t b) { return b == 0; }));
    const std::size_t kind = kCounts + kTextureRecordSize;
    EXPECT_EQ(WordAt(bytes, kind), 2u);

    const std::size_t r = kind + kKindCodeSize;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[r])), "Crate");
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 100), 0.1f);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 116 + 12), 0.8f);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 132 + 4), 1.0f);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 148 + 8), 0.625f);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 164), 42);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 168 + 4), box.Orientation().y);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 168 + 12), box.Orientation().w);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 184 + 8), 4);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 196), 5);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 196 + 8), 7);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 208), 5) << "position x once more";
    EXPECT_EQ(bytes[r + 212], 0) << "visible";
    EXPECT_EQ(bytes[r + 213], 1) << "transparent";
    EXPECT_EQ(bytes[r + 214], 1) << "marked";
    EXPECT_EQ(WordAt(bytes, r + 215), 3u);
    EXPECT_EQ(WordAt(bytes, r + 219), 0x11u);
    EXPECT_EQ(WordAt(bytes, r + 223), 0u) << "texture index";
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 227 + 8), 30);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 239 + 4), 4);
    EXPECT_FLOAT_EQ(FloatAt(bytes, r + 251 + 8), 0.125f);
    EXPECT_EQ(WordAt(bytes, r + 263), static_cast<std::uint32_t>(GL_DECAL));
    EXPECT_EQ(static_cast<std::int32_t>(WordAt(bytes, r + 267)), -9);

    // The second position x is the one that counts.
    std::vector<std::uint8_t> edited = bytes;
    PutWordAt(edited, r + 208, std::bit_cast<std::uint32_t>(-1.5f));
    test::RecordedMessages messages;
    COGLScene loaded;
    ASSERT_TRUE(Load(loaded, edited, folder.File("room.cgs")).Complete());
    ASSERT_EQ(loaded.Objects().size(), 1u);
    const COGLObject& back = *loaded.Objects()[0];
    EXPECT_EQ(back.Name(), "Crate");
    EXPECT_EQ(back.Kind(), ObjectKind::Box);
    EXPECT_EQ(back.AmbientColor(), box.AmbientColor());
    EXPECT_EQ(back.SpecularColor(), box.SpecularColor());
    EXPECT_EQ(back.Orientation(), box.Orientation());
    EXPECT_EQ(back.Scale(), (Vector3{2, 3, 4}));
    EXPECT_EQ(back.Position(), (Vector3{-1.5f, 6, 7}));
    EXPECT_FALSE(back.IsVisible());
    EXPECT_NE(back.Id() & COGLObject::kHiddenBit, 0u) << "hidden from picking too";
    EXPECT_TRUE(back.IsTransparent());
    EXPECT_TRUE(back.IsMarked());
    EXPECT_EQ(back.PickStyle(), 3);
    EXPECT_EQ(back.Flags(), 0x11u);
    ASSERT_EQ(loaded.Textures().size(), 1u);
    EXPECT_EQ(back.Texture(), loaded.Textures()[0].get());
    EXPECT_EQ(back.TextureScale(), (Vector3{2, 4, 8}));
    EXPECT_EQ(back.TextureEnvMode(), static_cast<GLenum>(GL_DECAL));
    EXPECT_EQ(back.SpareWord(), -9);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST(SceneFileLayout, RecordSizesNamesAndSharedTextures)
{
    EXPECT_EQ(Saved(COGLScene()), std::vector<std::uint8_t>(8, 0)) << "an empty scene is two zero counts";

    COGLScene one;
    one.AddObject(std::make_unique<COGLBox>());
    const std::vector<std::uint8_t> box = Saved(one);
    ASSERT_EQ(box.size(), 283u) << "with the document's 8 bytes, 291";
    EXPECT_EQ(WordAt(box, kCounts + kKindCodeSize + 223), 0xFFFFFFFFu) << "no texture";

    COGLScene planes;
    auto plane = std::make_unique<COGLPlane>();
    plane->SetTessellated(true);
    plane->SetName(std::string(120, 'n'));
    planes.AddObject(std::move(plane));
    const std::vector<std::uint8_t> planeBytes = Saved(planes);
    ASSERT_EQ(planeBytes.size(), kCounts + kKindCodeSize + 272);
    EXPECT_EQ(planeBytes.back(), 1) << "tessellated";
    EXPECT_EQ(planeBytes[kCounts + kKindCodeSize + 98], 'n');
    EXPECT_EQ(planeBytes[kCounts + kKindCodeSize + 99], 0) << "a name keeps 99 characters and its terminator";

    // A texture two objects use is stored once; one the scene does not hold is none.
    test::RecordedMessages messages;
    test::TempDir folder;
    COGLTexture2D outsider;
    outsider.SetSource(WriteTexture(folder, "outsider.bmp"), 0);
    COGLScene shared;
    COGLTexture2D& wood = AddTexture(shared, WriteTexture(folder, "wood.bmp"));
    for (COGLTexture2D* texture : {&wood, &wood, &outsider})
        shared.AddObject(std::make_unique<COGLBox>()).SetTexture(texture);
    const std::vector<std::uint8_t> sharedBytes = Saved(shared);
    EXPECT_EQ(WordAt(sharedBytes, 4), 1u);
    const std::size_t first = kCounts + kTextureRecordSize + kKindCodeSize + 223;
    const std::size_t entry = kKindCodeSize + kCommonRecordSize;
    EXPECT_EQ(WordAt(sharedBytes, first), 0u);
    EXPECT_EQ(WordAt(sharedBytes, first + entry), 0u);
    EXPECT_EQ(WordAt(sharedBytes, first + 2 * entry), 0xFFFFFFFFu);

    // A path the 260-byte field cannot hold is refused rather than cut.
    COGLScene longPath;
    AddTexture(longPath, "/" + std::string(259, 'p'));
    SceneFileWriter out;
    longPath.SaveScene(out);
    EXPECT_FALSE(out.ok());
    EXPECT_NE(out.Error().find("at most 259"), std::string::npos) << out.Error();
}

TEST(SceneFileLayout, AMeshStoresItsWholeSetAndLoadsAsMesh)
{
    test::TestMesh square = test::SquareMesh(20);
    COGLScene scene;
    COGLMesh& mesh = static_cast<COGLMesh&>(scene.AddObject(std::make_unique<COGLMesh>(square.Set())));
    mesh.SetName("My lamp");
    const std::vector<std::uint8_t> bytes = Saved(scene);
    const std::size_t tail = kCounts + kKindCodeSize + kCommonRecordSize;
    const std::size_t part1 = 4 + 5 + 4 + 2 * kMeshFaceSize + 4 + 4 * kMeshVertexSize + 4 + 4 * kMeshTexCoordSize;
    const std::size_t part2 = 4 + 7 + 4 + 4 + 4;
    ASSERT_EQ(bytes.size(), tail + 4 + 6 + 4 + part1 + part2 + 12);
    EXPECT_EQ(WordAt(bytes, tail), 6u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[tail + 4]), 6), "square");
    EXPECT_EQ(WordAt(bytes, tail + 10), 2u) << "parts";
    EXPECT_EQ(WordAt(bytes, tail + 14 + 9), 2u) << "faces of the first part";
    EXPECT_EQ(WordAt(bytes, tail + 14 + 13 + 24 + 8), 3u) << "third vertex index of the second face";
    EXPECT_FLOAT_EQ(FloatAt(bytes, bytes.size() - 12), 20) << "extents last";

    COGLScene loaded;
    ASSERT_TRUE(Load(loaded, bytes).Complete());
    const auto& back = dynamic_cast<const COGLMesh&>(*loaded.Objects().at(0));
    EXPECT_EQ(back.Name(), "Mesh") << "whatever name the record holds";
    EXPECT_EQ(back.Scale(), mesh.Scale());
    EXPECT_EQ(back.Orientation(), mesh.Orientation());
    EXPECT_EQ(back.Extent(), mesh.Extent()) << "the cage spans the stored extents";
    const MeshSet& set = back.GetMeshSet();
    EXPECT_STREQ(set.name, "square");
    ASSERT_EQ(set.partCount, 2);
    EXPECT_STREQ(set.parts[0].name, "Plate");
    ASSERT_EQ(set.parts[0].faceCount, 2);
    EXPECT_EQ(set.parts[0].faces[1].vertex[2], 3);
    EXPECT_FLOAT_EQ(set.parts[0].vertices[2].y, 20);
    EXPECT_FLOAT_EQ(set.parts[0].texCoords[3].v, 1);
    EXPECT_EQ(set.parts[1].faceCount, 0);
    EXPECT_EQ(back.TriangleCount(), 2);
}

// Every kind the scene file stores, made with values unlike its defaults.
class SceneFileRoundTrip : public testing::TestWithParam<ObjectKind> {
protected:
    std::unique_ptr<COGLObject> Make()
    {
        std::unique_ptr<COGLObject> object;
        if (GetParam() == ObjectKind::Mesh) {
            object = std::make_unique<COGLMesh>(square_.Set());
        } else {
            object = CreateObjectOfKind(GetParam());
            object->SetName("Thing of kind " + std::to_string(static_cast<int>(GetParam())));
        }
        if (auto* plane = dynamic_cast<COGLPlane*>(object.get()))
            plane->SetTessellated(true);
        object->SetPosition(1, 2, 3);
        object->SetDiffuse(0.25f, 0.5f, 0.75f, 1);
        object->RotateZ(45);
        object->SetTextureRotation({0, 0, 90});
        return object;
    }

    test::TestMesh square_ = test::SquareMesh(3);
};

TEST_P(SceneFileRoundTrip, ReadsBackAsWrittenAndWritesTheSameBytesAgain)
{
    COGLScene scene;
    const COGLObject& original = scene.AddObject(Make());
    scene.AddObject(std::make_unique<COGLBox>());
    const std::vector<std::uint8_t> bytes = Saved(scene);

    COGLScene loaded;
    const SceneLoadResult result = Load(loaded, bytes);
    ASSERT_TRUE(result.Complete()) << result.error;
    ASSERT_EQ(loaded.Objects().size(), 2u);
    const COGLObject& back = *loaded.Objects()[0];
    EXPECT_EQ(back.Kind(), original.Kind());
    EXPECT_EQ(typeid(back), typeid(original));
    EXPECT_EQ(back.Name(), original.Name());
    EXPECT_EQ(back.Position(), original.Position());
    EXPECT_EQ(back.Scale(), original.Scale());
    EXPECT_EQ(back.Orientation(), original.Orientation());
    EXPECT_EQ(back.DiffuseColor(), original.DiffuseColor());
    EXPECT_EQ(back.TextureRotation(), original.TextureRotation());
    if (const auto* plane = dynamic_cast<const COGLPlane*>(&back)) {
        EXPECT_TRUE(plane->IsTessellated());
    }
    EXPECT_EQ(Saved(loaded), bytes);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SceneFileRoundTrip,
                         testing::Values(ObjectKind::Plane, ObjectKind::Floor, ObjectKind::Box, ObjectKind::Sphere,
                                         ObjectKind::RightWall, ObjectKind::LeftWall, ObjectKind::Ceiling,
                                         ObjectKind::Rod, ObjectKind::Cylinder, ObjectKind::Cone, ObjectKind::Disk,
                                         ObjectKind::Billboard, ObjectKind::Mesh),
                         [](const testing::TestParamInfo<ObjectKind>& kind) {
                             std::string name(DefaultNameOf(kind.param));
                             std::erase(name, ' ');
                             return name;
                         });

// A texture, a box, a plane and a mesh, with where each object's entry ends.
struct Fixture {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> objectEnds;
};

Fixture MixedScene(const test::TempDir& folder, test::TestMesh& mesh)
{
    COGLScene scene;
    AddTexture(scene, WriteTexture(folder, "wood.bmp"));
    scene.AddObject(std::make_unique<COGLBox>());
    scene.AddObject(std::make_unique<COGLPlane>());
    scene.AddObject(std::make_unique<COGLMesh>(mesh.Set()));
    Fixture fixture{Saved(scene), {}};
    std::size_t end = kCounts + kTextureRecordSize;
    for (const std::size_t record : {kCommonRecordSize, kCommonRecordSize + kPlaneTailSize})
        fixture.objectEnds.push_back(end += kKindCodeSize + record);
    fixture.objectEnds.push_back(fixture.bytes.size());
    return fixture;
}

TEST(SceneFileDamage, EveryCutStopsWithAReasonAndKeepsTheObjectsBeforeIt)
{
    test::RecordedMessages messages;
    test::TempDir folder;
    test::TestMesh mesh = test::SquareMesh(1);
    const Fixture fixture = MixedScene(folder, mesh);
    for (std::size_t cut = 0; cut < fixture.bytes.size(); ++cut) {
        COGLScene scene;
        const SceneLoadResult result =
            Load(scene, std::span(fixture.bytes).first(cut), folder.File("scene.cgs"));
        ASSERT_FALSE(result.Complete()) << "cut at " << cut;
        // The end of the file, or a length or count that reaches past it.
        ASSERT_TRUE(result.error.find("the file ends too soon, at byte " + std::to_string(cut)) != std::string::npos ||
                    result.error.find("the file holds only") != std::string::npos ||
                    result.error.find("left hold at most") != std::string::npos)
            << result.error;
        const auto whole = std::count_if(fixture.objectEnds.begin(), fixture.objectEnds.end(),
                                         [&](std::size_t end) { return end <= cut; });
        ASSERT_EQ(scene.Objects().size(), static_cast<std::size_t>(whole)) << "cut at " << cut;
    }
    COGLScene whole;
    EXPECT_TRUE(Load(whole, fixture.bytes, folder.File("scene.cgs")).Complete());
    EXPECT_EQ(whole.Objects().size(), 3u);
}

TEST(SceneFileDamage, KindsWithoutAClassLyingCountsAndBadIndicesAreRefused)
{
    test::RecordedMessages messages;
    test::TempDir folder;
    test::TestMesh mesh = test::SquareMesh(1);
    const Fixture fixture = MixedScene(folder, mesh);
    const std::size_t planeKind = fixture.objectEnds[0];
    const std::size_t tail = fixture.objectEnds[1] + kKindCodeSize + kCommonRecordSize;
    const std::size_t firstPart = tail + 4 + 6 + 4;
    const std::size_t faces = firstPart + 4 + 5;

    const auto refused = [&](std::size_t at, std::uint32_t value, std::size_t kept, const std::string& reason) {
        std::vector<std::uint8_t> bytes = fixture.bytes;
        PutWordAt(bytes, at, value);
        COGLScene scene;
        const SceneLoadResult result = Load(scene, bytes, folder.File("scene.cgs"));
        EXPECT_NE(result.error.find(reason), std::string::npos) << result.error;
        EXPECT_EQ(scene.Objects().size(), kept) << reason;
    };
    refused(planeKind, 12, 1, "object 2 of 3 is of kind 12, which no object has");
    refused(planeKind, 15, 1, "kind 15");
    refused(planeKind, 0xFFFFFFFF, 1, "kind -1");
    if (!CreateObjectToLoad(ObjectKind::Text))
        refused(planeKind, 7, 1, "object 2 of 3 (Text) is of kind 7, which this version of zelvane cannot read");
    refused(tail, 0x7FFFFFF0, 2, "the mesh set's name is said to be 2147483632 bytes long");
    refused(tail + 10, 0xFFFFFFFF, 2, "the file says 4294967295 mesh parts follow");
    refused(faces, 0x7FFFFFFF, 2, "2147483647 faces of part 1 follow");
    refused(faces + 4 + 8, 9, 2, "face 1: vertex index 9 is outside its 4 vertices");
    refused(faces + 4 + 16, 0xFFFFFFFF, 2, "face 1: texture index -1 is outside its 4 texture coordinates");

    // Names that fill their field without a terminator are read whole.
    std::vector<std::uint8_t> unterminated = fixture.bytes;
    std::memset(&unterminated[kCounts + 1], 'p', kTexturePathField);
    std::memset(&unterminated[kCounts + kTextureRecordSize + kKindCodeSize], 'n', kNameField);
    COGLScene scene;
    const SceneLoadResult result = Load(scene, unterminated, folder.File("scene.cgs"));
    EXPECT_TRUE(result.Complete()) << result.error;
    EXPECT_EQ(scene.Objects().at(0)->Name(), std::string(kNameField, 'n'));
    EXPECT_EQ(result.textures.at(0).storedPath, std::string(kTexturePathField, 'p'));
    EXPECT_TRUE(result.searchCancelled) << "no such texture, and nobody to ask";
}

TEST(SceneFileDamage, AFileReadThroughAWindowReadsAsInMemoryWhereverItsRecordsFall)
{
    test::RecordedMessages messages;
    test::TempDir folder;
    test::TestMesh mesh = test::SquareMesh(1);
    mesh.name = std::string(600, 'm'); // longer than the smallest window
    const Fixture fixture = MixedScene(folder, mesh);
    const std::string path = folder.File("scene.cgs");
    for (const std::size_t cut : {fixture.bytes.size(), fixture.objectEnds[1] + 300, std::size_t{700}}) {
        test::WriteBytes(path, std::vector(fixture.bytes.begin(), fixture.bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
        COGLScene inMemory;
        const SceneLoadResult expected = Load(inMemory, std::span(fixture.bytes).first(cut), path);
        for (const std::size_t window : {std::size_t{271}, std::size_t{4096}, SceneFileReader::kWindow}) {
            SCOPED_TRACE("cut " + std::to_string(cut) + ", window " + std::to_string(window));
            CTGFile file;
            ASSERT_EQ(file.OpenReadOnly(path), 0);
            SceneFileReader reader(file, cut, 0, path, window);
            COGLScene scene;
            const SceneLoadResult result = scene.LoadScene(reader, path);
            EXPECT_EQ(result.error, expected.error);
            EXPECT_EQ(Saved(scene), Saved(inMemory));
        }
    }
}

TEST(SceneFileTextures, AreFoundBesideTheSceneFileOrAskedForAndMissingOnesAreDroppedAlone)
{
    test::TempDir folder;
    test::RecordedMessages messages;
    test::ScriptedFileDialog dialog;
    const std::string chosen = WriteTexture(folder, "chosen.bmp");
    dialog.QueueAnswer(chosen);
    dialog.QueueAnswer(std::nullopt);

    // Saved on Windows: the first is beside the scene file in another case,
    // the second is found by the user, the third is given up on.
    COGLScene windows;
    AddTexture(windows, "C:\\Old\\Maps\\WOOD.BMP");
    AddTexture(windows, "C:\\Old\\Maps\\gone.bmp");
    AddTexture(windows, "C:\\Old\\Maps\\lost.bmp");
    std::vector<std::uint8_t> bytes;
    {
        for (int i = 0; i < 4; ++i)
            windows.AddObject(std::make_unique<COGLBox>());
        bytes = Saved(windows);
        const std::size_t firstIndex = kCounts + 3 * kTextureRecordSize + kKindCodeSize + 223;
        const std::int32_t indices[] = {2, 0, 1, -1};
        for (std::size_t i = 0; i < 4; ++i)
            PutWordAt(bytes, firstIndex + i * (kKindCodeSize + kCommonRecordSize), static_cast<std::uint32_t>(indices[i]));
    }
    WriteTexture(folder, "wood.bmp");

    test::RecordingProgress progress;
    COGLScene scene;
    const SceneLoadResult result = Load(scene, bytes, folder.File("room.cgs"));
    ASSERT_TRUE(result.Complete()) << result.error;
    EXPECT_TRUE(result.searchCancelled);
    ASSERT_EQ(dialog.Questions().size(), 2u) << "the texture beside the scene file is found without asking";
    EXPECT_EQ(dialog.Questions()[0].title, "This TEXTURE cannot be located.  Please find it or Click Cancel.");
    EXPECT_EQ(dialog.Questions()[0].proposedName, "C:\\Old\\Maps\\gone.bmp");
    EXPECT_NE(dialog.Questions()[0].filter.find("*.tga"), std::string::npos);

    ASSERT_EQ(scene.Textures().size(), 2u);
    EXPECT_EQ(scene.Textures()[0]->Path(), folder.File("wood.bmp"));
    EXPECT_EQ(scene.Textures()[1]->Path(), chosen);
    ASSERT_EQ(result.textures.size(), 3u);
    EXPECT_EQ(result.textures[2].storedPath, "C:\\Old\\Maps\\lost.bmp");
    EXPECT_EQ(result.textures[2].foundPath, "");
    // Each object keeps its own texture; the one whose texture was dropped has none.
    EXPECT_EQ(scene.Objects()[0]->Texture(), nullptr);
    EXPECT_EQ(scene.Objects()[1]->Texture(), scene.Textures()[0].get());
    EXPECT_EQ(scene.Objects()[2]->Texture(), scene.Textures()[1].get());
    EXPECT_EQ(scene.Objects()[3]->Texture(), nullptr);
    EXPECT_TRUE(messages.Texts().empty());

    // "Loading..." over 50: two steps for the counts, one per texture and
    // object, one at the end; ended once, also when reading stops early.
    EXPECT_EQ(progress.Calls().front(), "begin 50 Loading...");
    EXPECT_EQ(progress.Steps(), 2 + 3 + 4 + 1);
    EXPECT_EQ(progress.Calls().back(), "end");
    test::RecordingProgress cut;
    COGLScene partial;
    Load(partial, std::span(bytes).first(100), folder.File("room.cgs"));
    EXPECT_EQ(cut.Calls().back(), "end");
    EXPECT_EQ(std::count(cut.Calls().begin(), cut.Calls().end(), "end"), 1);
}

} // namespace
} // namespace zelvane
