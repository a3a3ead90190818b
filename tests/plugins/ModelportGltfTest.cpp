// modelport's glTF reader on files written by tools/GltfWriter (and edited
// where a test needs a damaged one): the node tree and its transforms, the
// primitive modes and index types, buffer layouts, materials and their
// pictures, and hostile files.

#include "plugins/modelport/ImageCache.h"
#include "tests/plugins/ModelportTestSupport.h"
#include "tests/testkit/TestFiles.h"
#include "tools/GltfWriter.h"
#include "tools/SampleMeshes.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>

using namespace zelvane;
using modelport::ModelFormat;

namespace {

// A unit square in z = 0 as two triangles, with texture coordinates.
GltfPrimitive Square(int material = -1)
{
    GltfPrimitive square;
    square.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    square.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    square.indices = {0, 1, 2, 0, 2, 3};
    square.material = material;
    return square;
}

GltfModelRecord OneNode(std::vector<GltfPrimitive> primitives)
{
    GltfModelRecord model;
    model.meshes.push_back({"Mesh", std::move(primitives)});
    model.nodes.push_back({"Node", 0, {}, {}, {}, {}, {}});
    model.sceneNodes = {0};
    return model;
}

std::unique_ptr<test::ModelportImport> Glb(const GltfModelRecord& model, const std::string& cache = {})
{
    return test::ImportModelBytes(WriteGlb(model), ModelFormat::Gltf, {}, cache);
}

// The JSON of `model` changed by `edit`, packed with its buffer as a .glb.
template <typename Edit>
std::unique_ptr<test::ModelportImport> EditedGlb(const GltfModelRecord& model, Edit&& edit)
{
    GltfFiles files = WriteGltfParts(model, "");
    nlohmann::json json = nlohmann::json::parse(files.json);
    edit(json, files.bin);
    return test::ImportModelBytes(PackGlb(json.dump(), files.bin), ModelFormat::Gltf);
}

void ExpectVertex(const ::MeshVertex& v, float x, float y, float z)
{
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

} // namespace

TEST(ModelportGltf, TheDefaultScenesNodesAreFlattenedIntoNamedPartsWithTheirTransforms)
{
    GltfModelRecord model;
    model.meshes.push_back({"Box", {Square(), Square()}});
    model.meshes.push_back({"", {Square()}});
    // Parent: moved by 10 along x and turned a quarter about z; child: scaled
    // by 2 and moved by 1 along y; a sibling with a matrix; a node outside the scene.
    GltfNodeRecord parent{"Parent", 0, {1, 2}, {}, std::array<float, 3>{10, 0, 0}, {}, {}};
    parent.rotation = std::array<float, 4>{0, 0, std::sqrt(0.5f), std::sqrt(0.5f)};
    GltfNodeRecord child{"Child", 1, {}, {}, std::array<float, 3>{0, 1, 0}, {}, std::array<float, 3>{2, 2, 2}};
    GltfNodeRecord sibling{"Sibling", 1, {}, std::array<float, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1}, {}, {}, {}};
    GltfNodeRecord outside{"Outside", 1, {}, {}, {}, {}, {}};
    model.nodes = {parent, child, sibling, outside};
    model.sceneNodes = {0};
    const auto imported = Glb(model);
    ASSERT_EQ(imported->problem, "");
    ASSERT_EQ(imported->set.partCount, 4);
    EXPECT_STREQ(imported->Part(0).name, "Parent/Box/0");
    EXPECT_STREQ(imported->Part(1).name, "Parent/Box/1");
    EXPECT_STREQ(imported->Part(2).name, "Child/mesh 1");
    EXPECT_STREQ(imported->Part(3).name, "Sibling/mesh 1");
    // (1, 0, 0) turned a quarter about z is (0, 1, 0), then moved.
    ExpectVertex(imported->Part(0).vertices[1], 10, 1, 0);
    // The child's (1, 0, 0): scaled (2, 0, 0), moved (2, 1, 0), then the parent's.
    ExpectVertex(imported->Part(2).vertices[1], 9, 2, 0);
    // The sibling's (1, 1, 0): moved to (6, 7, 7), then the parent's.
    ExpectVertex(imported->Part(3).vertices[2], 3, 6, 7);
    EXPECT_EQ(imported->info.metresPerUnit, 1.0f);
    EXPECT_EQ(imported->info.upAxis, ZELPLUG_UP_Y);
    EXPECT_EQ(imported->Part(0).faceCount, 2);
}

TEST(ModelportGltf, StripsFansEveryIndexTypeAndUnindexedTrianglesGiveTheSameSquare)
{
    GltfPrimitive strip;
    strip.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    strip.indices = {0, 1, 2, 3};
    strip.indexType = gltf::kUnsignedByte;
    strip.mode = gltf::kTriangleStrip;
    GltfPrimitive fan = Square();
    fan.indices = {0, 1, 2, 3};
    fan.indexType = gltf::kUnsignedShort;
    fan.mode = gltf::kTriangleFan;
    GltfPrimitive plain = Square();
    plain.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    plain.texCoords.clear();
    plain.indices.clear();
    GltfPrimitive lines = Square();
    lines.mode = gltf::kLines;
    const auto imported = Glb(OneNode({strip, fan, Square(), plain, lines}));
    ASSERT_EQ(imported->problem, "");
    ASSERT_EQ(imported->set.partCount, 4);
    for (int32_t p = 0; p < 4; ++p) {
        const MeshPart& part = imported->Part(p);
        ASSERT_EQ(part.faceCount, 2) << part.name;
        // Every triangle turns counter-clockwise seen from +z, as the square does.
        for (int32_t f = 0; f < 2; ++f) {
            const MeshFace& face = part.faces[f];
            const ::MeshVertex& a = part.vertices[face.vertex[0]];
            const ::MeshVertex& b = part.vertices[face.vertex[1]];
            const ::MeshVertex& c = part.vertices[face.vertex[2]];
            EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0) << part.name << " face " << f;
            EXPECT_EQ(face.texCoord[0], face.vertex[0]);
        }
    }
    EXPECT_TRUE(imported->Noted("1 primitives of points or lines were left out"));
}

TEST(ModelportGltf, InterleavedAndSparseAccessorsAreReadAndTextureRowsCountFromTheBottom)
{
    GltfPrimitive interleaved = Square();
    interleaved.interleaved = true;
    GltfPrimitive sparse = Square();
    sparse.sparsePositions = {{2, {5, 5, 5}}, {3, {-1, 2, 0}}};
    const auto imported = Glb(OneNode({interleaved, sparse}));
    ASSERT_EQ(imported->problem, "");
    ASSERT_EQ(imported->set.partCount, 2);
    ExpectVertex(imported->Part(0).vertices[2], 1, 1, 0);
    EXPECT_FLOAT_EQ(imported->Part(0).texCoords[1].u, 1.0f);
    EXPECT_FLOAT_EQ(imported->Part(0).texCoords[1].v, 1.0f); // glTF's v = 0
    EXPECT_FLOAT_EQ(imported->Part(0).texCoords[2].v, 0.0f);
    ExpectVertex(imported->Part(1).vertices[0], 0, 0, 0);
    ExpectVertex(imported->Part(1).vertices[2], 5, 5, 5);
    ExpectVertex(imported->Part(1).vertices[3], -1, 2, 0);
}

TEST(ModelportGltf, MaterialsGiveColoursOpacitySidesAndTheirPicturesOnceInTheCache)
{
    test::TempDir cache;
    GltfModelRecord model = OneNode({Square(0), Square(1), Square(2), Square(3), Square()});
    GltfMaterialRecord textured{"Planks", {1, 0.5f, 0.25f, 1}, 0, "", true, false};
    GltfMaterialRecord glass{"Glass", {0.2f, 0.4f, 0.6f, 0.3f}, -1, "BLEND", false, false};
    GltfMaterialRecord cutout{"Leaf", {1, 1, 1, 0.4f}, -1, "MASK", false, false};
    GltfMaterialRecord older{"Older", {0.1f, 0.9f, 0.1f, 1}, -1, "", false, true};
    model.materials = {textured, glass, cutout, older};
    model.images.push_back({CratePicture(), "image/png", ""});
    const std::string folder = cache.Path().string() + "/zelvane/";
    const auto imported = Glb(model, folder);
    ASSERT_EQ(imported->problem, "");
    const ModelMaterials& materials = imported->materials;
    ASSERT_EQ(materials.materials.size(), 4u);
    EXPECT_EQ(materials.materials[0].diffuse, (std::array<float, 3>{1, 0.5f, 0.25f}));
    EXPECT_TRUE(materials.materials[0].twoSided);
    EXPECT_FLOAT_EQ(materials.materials[1].opacity, 0.3f);
    EXPECT_FLOAT_EQ(materials.materials[2].opacity, 0.0f); // below the cut-off of 0.5
    EXPECT_FLOAT_EQ(materials.materials[3].diffuse[1], 0.9f);
    // One group per primitive with a material; the last primitive has none.
    ASSERT_EQ(materials.partGroups.size(), 5u);
    EXPECT_EQ(materials.partGroups[1][0].material, 1);
    EXPECT_TRUE(materials.partGroups[4].empty());

    const std::string& picture = materials.materials[0].texturePath;
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.png",
                  static_cast<unsigned long long>(modelport::ContentHash(CratePicture())));
    EXPECT_EQ(picture, folder + name);
    EXPECT_EQ(test::ReadBytes(picture), CratePicture());
    // A second import names the same file and writes nothing new.
    const auto again = Glb(model, folder);
    EXPECT_EQ(again->materials.materials[0].texturePath, picture);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

TEST(ModelportGltf, AJsonModelReadsItsBufferAndPictureBesideIt)
{
    test::TempDir folder;
    GltfModelRecord model = OneNode({Square(0)});
    model.materials.push_back({"Planks", {1, 1, 1, 1}, 0, "", false, false});
    model.images.push_back({{}, "", "maps/Crate%20Planks.png"});
    const GltfFiles files = WriteGltfParts(model, "crate%20data.bin");
    std::filesystem::create_directories(folder.Path() / "Maps");
    // Named in another case, as files made on Windows are.
    test::WriteBytes(folder.File("Maps/crate planks.PNG"), CratePicture());
    test::WriteBytes(folder.File("crate data.bin"), files.bin);
    const std::string path = folder.File("crate.gltf");
    const auto imported = test::ImportModelText(files.json, ModelFormat::Gltf, path);
    ASSERT_EQ(imported->problem, "");
    EXPECT_EQ(imported->Faces(), 2);
    EXPECT_EQ(imported->materials.materials[0].texturePath, folder.File("Maps/crate planks.PNG"));
}

TEST(ModelportGltf, AccessorsOutsideTheirDataAreLeftOutAndBadFacesDropped)
{
    // An index past the vertices, a corner at infinity.
    GltfPrimitive broken = Square();
    broken.indices = {0, 1, 2, 0, 2, 9, 1, 2, 3};
    broken.positions[3] = {0, INFINITY, 0};
    // Counts and strides that reach past the buffer view, offsets past it.
    const auto longCount = [](nlohmann::json& json, std::vector<uint8_t>&) { json["accessors"][0]["count"] = 5; };
    const auto stride = [](nlohmann::json& json, std::vector<uint8_t>&) { json["bufferViews"][0]["byteStride"] = 4; };
    const auto offset = [](nlohmann::json& json, std::vector<uint8_t>&) {
        json["bufferViews"][0]["byteOffset"] = 4000000000u;
    };
    const auto huge = [](nlohmann::json& json, std::vector<uint8_t>&) {
        json["accessors"][0].erase("bufferView");
        json["accessors"][0]["count"] = 1u << 21;
    };
    const auto index = [](nlohmann::json& json, std::vector<uint8_t>&) { json["accessors"][2]["count"] = 1000; };

    const auto faces = Glb(OneNode({broken}));
    ASSERT_EQ(faces->problem, "");
    EXPECT_EQ(faces->Faces(), 1);
    EXPECT_TRUE(faces->Noted("1 faces point past their vertices"));
    EXPECT_TRUE(faces->Noted("1 faces have a corner that is not a finite number"));
    for (const auto& edit : {+longCount, +stride, +offset, +huge, +index}) {
        const auto imported = EditedGlb(OneNode({Square()}), edit);
        EXPECT_EQ(imported->problem, "");
        EXPECT_EQ(imported->Faces(), 0);
        EXPECT_TRUE(imported->Noted("left out") || imported->Noted("more than zelvane imports")) << imported->notes.size();
    }
}

TEST(ModelportGltf, CyclesDeepTreesAndDeepJsonNeitherHangNorRepeat)
{
    GltfModelRecord model = OneNode({Square()});
    model.nodes[0].children = {1};
    model.nodes.push_back({"Loop", 0, {0, 1}, {}, {}, {}, {}});
    const auto cycle = Glb(model);
    EXPECT_EQ(cycle->set.partCount, 2);
    EXPECT_TRUE(cycle->Noted("more than once"));

    GltfModelRecord deep = OneNode({Square()});
    for (int i = 1; i < 300; ++i) {
        deep.nodes.back().children = {i};
        deep.nodes.push_back({"N" + std::to_string(i), 0, {}, {}, {}, {}, {}});
    }
    const auto tall = Glb(deep);
    EXPECT_EQ(tall->set.partCount, 256);
    EXPECT_TRUE(tall->Noted("deeper than 256"));

    std::string nested = "{\"asset\":{\"version\":\"2.0\"},\"extras\":";
    for (int i = 0; i < 100000; ++i)
        nested += '[';
    const auto json = test::ImportModelText(nested, ModelFormat::Gltf);
    EXPECT_EQ(json->set.partCount, 0);
    EXPECT_TRUE(json->Noted("nested deeper than 64 levels"));
}

TEST(ModelportGltf, FilesItCannotReadAreRefusedSayingWhy)
{
    GltfModelRecord draco = OneNode({Square()});
    draco.extensionsRequired = {"KHR_draco_mesh_compression"};
    const auto compressed = Glb(draco);
    EXPECT_EQ(compressed->set.partCount, 0);
    ASSERT_FALSE(compressed->notes.empty());
    EXPECT_NE(compressed->notes[0].find("KHR_draco_mesh_compression"), std::string::npos);

    std::vector<uint8_t> cut = WriteGlb(OneNode({Square()}));
    cut.resize(cut.size() - 10);
    EXPECT_TRUE(test::ImportModelBytes(cut, ModelFormat::Gltf)->Noted("cut short"));
    EXPECT_TRUE(test::ImportModelText("{\"asset\":{\"version\":\"1.0\"}}", ModelFormat::Gltf)->Noted("version 1.0"));
    EXPECT_TRUE(test::ImportModelText("not json", ModelFormat::Gltf)->Noted("not a glTF model"));
    const auto empty = test::ImportModelText("", ModelFormat::Gltf);
    EXPECT_EQ(empty->problem, "");
    EXPECT_EQ(empty->set.partCount, 0);
}
