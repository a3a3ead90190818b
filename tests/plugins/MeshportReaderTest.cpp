// meshport's reader on files written for the test: what becomes a part,
// names, mapping coordinates, faces outside the vertex list, damaged chunks,
// materials and their groups, and the trace file.

#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/MeshportImport.h"
#include "plugins/meshport/ThreeDSReader.h"
#include "tests/plugins/MeshportTestSupport.h"
#include "tests/testkit/ScopedEnvironment.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace zelvane;
using test::ImportedSet;

namespace {

constexpr uint16_t kMain = 0x4D4D, kEditor = 0x3D3D, kObject = 0x4000, kMesh = 0x4100, kVertices = 0x4110,
                   kFaces = 0x4120, kMapping = 0x4140, kMatrix = 0x4160, kLight = 0x4600, kMaterial = 0xAFFF,
                   kMaterialName = 0xA000, kAmbient = 0xA010, kColourFloat = 0x0010, kColourFloatGamma = 0x0012;

// Main and editor chunk around what `body` writes.
template <typename Body>
std::vector<uint8_t> File(Body body)
{
    ThreeDSWriter w;
    w.Begin(kMain);
    w.Begin(kEditor);
    body(w);
    w.End();
    w.End();
    return w.Take();
}

void VertexList(ThreeDSWriter& w, const std::vector<std::array<float, 3>>& vertices, uint16_t count)
{
    w.Begin(kVertices);
    w.U16(count);
    for (const auto& [x, y, z] : vertices) {
        w.F32(x);
        w.F32(y);
        w.F32(z);
    }
    w.End();
}

void FaceList(ThreeDSWriter& w, const std::vector<std::array<uint16_t, 3>>& faces)
{
    w.Begin(kFaces);
    w.U16(static_cast<uint16_t>(faces.size()));
    for (const auto& [a, b, c] : faces) {
        w.U16(a);
        w.U16(b);
        w.U16(c);
        w.U16(0);
    }
    w.End();
}

std::vector<std::array<float, 2>> TexCoords(const MeshPart& part)
{
    std::vector<std::array<float, 2>> result;
    for (int32_t i = 0; i < part.texCoordCount; ++i)
        result.push_back({part.texCoords[i].u, part.texCoords[i].v});
    return result;
}

std::vector<std::array<int32_t, 3>> Corners(const MeshPart& part)
{
    std::vector<std::array<int32_t, 3>> result;
    for (int32_t i = 0; i < part.faceCount; ++i)
        result.push_back({part.faces[i].vertex[0], part.faces[i].vertex[1], part.faces[i].vertex[2]});
    return result;
}

} // namespace

TEST(MeshportImport, EveryTriangleMeshBecomesAPartInFileOrder)
{
    ThreeDSMesh first = UnitSquare("First");
    first.vertices[2] = {2.5f, -3.0f, 7.25f};
    const ImportedSet set(File([&](ThreeDSWriter& w) {
        w.Material({"Red", {255, 0, 0}, "red.bmp"});
        w.Mesh(first);
        w.Begin(kObject); // a light: an object without a triangle mesh
        w.String("Lamp");
        w.Begin(kLight);
        for (int i = 0; i < 3; ++i)
            w.F32(1.0f);
        w.End();
        w.End();
        w.Begin(kObject); // one object, two meshes: two parts of its name
        w.String("Twin");
        w.TriangleMesh(UnitSquare("ignored"));
        w.TriangleMesh(UnitSquare("ignored"));
        w.End();
    }));
    ASSERT_EQ(test::ContractProblem(*set), "");
    ASSERT_EQ(set->partCount, 3);
    EXPECT_STREQ(set.Part(0).name, "First");
    EXPECT_STREQ(set.Part(1).name, "Twin");
    EXPECT_STREQ(set.Part(2).name, "Twin");

    const MeshPart& part = set.Part(0);
    ASSERT_EQ(part.vertexCount, 4);
    EXPECT_EQ(part.vertices[2].x, 2.5f);
    EXPECT_EQ(part.vertices[2].y, -3.0f);
    EXPECT_EQ(part.vertices[2].z, 7.25f);
    EXPECT_EQ(TexCoords(part), first.mapping);
    ASSERT_EQ(part.faceCount, 2);
    EXPECT_EQ(Corners(part), (std::vector<std::array<int32_t, 3>>{{0, 1, 2}, {0, 2, 3}}));
}

TEST(MeshportImport, ObjectNamesKeepElevenCharactersAndLongOnesDoNotShiftTheReader)
{
    const ImportedSet set(File([&](ThreeDSWriter& w) {
        for (const char* name : {"ElevenChars", "TwelveChars!", "AVeryLongObjectNameIndeed", ""})
            w.Mesh(UnitSquare(name));
        // A name without a terminator fills its chunk: there is no mesh to read.
        w.Begin(kObject);
        w.String("Unterminated", false);
        w.End();
        w.Mesh(UnitSquare("After"));
    }));
    ASSERT_EQ(test::ContractProblem(*set), "");
    ASSERT_EQ(set->partCount, 5);
    const char* expected[] = {"ElevenChars", "TwelveChars", "AVeryLongOb", "Default name", "After"};
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_STREQ(set.Part(i).name, expected[i]);
        EXPECT_EQ(set.Part(i).vertexCount, 4) << expected[i];
        EXPECT_EQ(set.Part(i).faceCount, 2) << expected[i];
    }
}

TEST(MeshportImport, EveryVertexGetsExactlyOneMappingCoordinate)
{
    ThreeDSMesh longer = UnitSquare("Longer");
    longer.mapping.insert(longer.mapping.end(), {{9, 9}, {8, 8}});
    ThreeDSMesh shorter = UnitSquare("Shorter");
    shorter.mapping.resize(2);
    ThreeDSMesh none = UnitSquare("None");
    none.mapping.clear();
    const ImportedSet set(File([&](ThreeDSWriter& w) {
        w.Mesh(longer);
        w.Mesh(shorter);
        w.Mesh(none);
        // Mapping before the vertex list.
        w.Begin(kObject);
        w.String("MapFirst");
        w.Begin(kMesh);
        w.Begin(kMapping);
        w.U16(4);
        for (float i = 0; i < 4; ++i) {
            w.F32(i);
            w.F32(-i);
        }
        w.End();
        VertexList(w, UnitSquare("").vertices, 4);
        FaceList(w, UnitSquare("").faces);
        w.End();
        w.End();
    }));
    ASSERT_EQ(test::ContractProblem(*set), "");
    ASSERT_EQ(set->partCount, 4);
    EXPECT_EQ(TexCoords(set.Part(0)), UnitSquare("").mapping);
    EXPECT_EQ(TexCoords(set.Part(1)), (std::vector<std::array<float, 2>>{{0, 0}, {1, 0}, {0, 0}, {0, 0}}));
    EXPECT_EQ(TexCoords(set.Part(2)), (std::vector<std::array<float, 2>>(4, {0, 0})));
    EXPECT_EQ(TexCoords(set.Part(3)), (std::vector<std::array<float, 2>>{{0, 0}, {1, -1}, {2, -2}, {3, -3}}));
}

TEST(MeshportImport, FacesWithACornerOutsideTheVertexListAreDropped)
{
    const ImportedSet set(File([&](ThreeDSWriter& w) {
        ThreeDSMesh mesh = UnitSquare("Corners");
        mesh.faces = {{0, 1, 3}, {0, 1, 4}, {65535, 0, 1}, {3, 2, 1}};
        w.Mesh(mesh);
        // Faces without a vertex list.
        w.Begin(kObject);
        w.String("NoVertices");
        w.Begin(kMesh);
        FaceList(w, {{0, 1, 2}});
        w.End();
        w.End();
        // A second vertex list replaces the first; faces are checked against it.
        w.Begin(kObject);
        w.String("Replaced");
        w.Begin(kMesh);
        VertexList(w, UnitSquare("").vertices, 4);
        FaceList(w, {{0, 1, 2}, {1, 2, 3}});
        VertexList(w, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, 3);
        w.End();
        w.End();
    }));
    ASSERT_EQ(test::ContractProblem(*set), "");
    ASSERT_EQ(set->partCount, 3);
    EXPECT_EQ(Corners(set.Part(0)), (std::vector<std::array<int32_t, 3>>{{0, 1, 3}, {3, 2, 1}}));
    EXPECT_EQ(set.Part(1).vertexCount, 0);
    EXPECT_EQ(set.Part(1).faceCount, 0);
    EXPECT_EQ(set.Part(2).vertexCount, 3);
    EXPECT_EQ(Corners(set.Part(2)), (std::vector<std::array<int32_t, 3>>{{0, 1, 2}}));
}

TEST(MeshportImport, DamagedChunksAreReadAsFarAsTheyGoAndNeverBreakTheContract)
{
    ThreeDSMesh grouped = UnitSquare("Grouped");
    grouped.groups = {{"Red", {0, 1}}};
    grouped.matrix = std::array<float, 12>{1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7};
    const std::vector<uint8_t> whole = WriteThreeDS({UnitSquare("One"), grouped}, {{"Red", {255, 0, 0}, "red.bmp"}});
    // Every cut of the file.
    for (size_t size = 0; size <= whole.size(); ++size) {
        const ImportedSet set({whole.begin(), whole.begin() + static_cast<long>(size)});
        ASSERT_EQ(test::ContractProblem(*set), "") << "cut at " << size;
        ASSERT_LE(set->partCount, 2);
    }

    // A count beyond the data: only the vertices that are there.
    const ImportedSet overcounted(File([&](ThreeDSWriter& w) {
        w.Begin(kObject);
        w.String("Overcount");
        w.Begin(kMesh);
        VertexList(w, UnitSquare("").vertices, 100);
        FaceList(w, {{0, 1, 2}, {1, 2, 3}, {2, 3, 4}});
        w.End();
        w.End();
    }));
    ASSERT_EQ(overcounted->partCount, 1);
    EXPECT_EQ(overcounted.Part(0).vertexCount, 4);
    EXPECT_EQ(overcounted.Part(0).faceCount, 2);

    // A length shorter than a chunk header ends its level: what came before stays.
    const ImportedSet shortLength(File([&](ThreeDSWriter& w) {
        w.Mesh(UnitSquare("Before"));
        w.Begin(0x1234);
        w.EndWithLength(3);
        w.Mesh(UnitSquare("After"));
    }));
    ASSERT_EQ(shortLength->partCount, 1);
    EXPECT_STREQ(shortLength.Part(0).name, "Before");

    // A length past the end of the file: the chunk is read to the end.
    const ImportedSet overlong(File([&](ThreeDSWriter& w) {
        w.Begin(kObject);
        w.String("Overlong");
        w.TriangleMesh(UnitSquare(""));
        w.EndWithLength(0xFFFFFFF0u);
    }));
    ASSERT_EQ(overlong->partCount, 1);
    EXPECT_EQ(overlong.Part(0).faceCount, 2);

    // Bytes after the main chunk are not read.
    std::vector<uint8_t> trailing = WriteThreeDS({UnitSquare("Inside")});
    const std::vector<uint8_t> extra = File([&](ThreeDSWriter& w) { w.Mesh(UnitSquare("Outside")); });
    trailing.insert(trailing.end(), extra.begin() + 12, extra.end()); // past main and editor headers
    const ImportedSet afterMain(trailing);
    ASSERT_EQ(afterMain->partCount, 1);
    EXPECT_STREQ(afterMain.Part(0).name, "Inside");

    // Not a 3D Studio file: an empty set with a part allocation.
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{0x4D},
                                              std::vector<uint8_t>{0x3D, 0x3D, 6, 0, 0, 0}}) {
        const ImportedSet empty(bytes);
        EXPECT_EQ(empty->partCount, 0);
        EXPECT_NE(empty->parts, nullptr);
    }
}

TEST(MeshportMaterials, GroupsTakeTheFirstMaterialOfTheirNameWhateverTheCase)
{
    const auto floatColour = [](ThreeDSWriter& w, uint16_t id, float r, float g, float b) {
        w.Begin(kAmbient);
        w.Begin(id);
        w.F32(r);
        w.F32(g);
        w.F32(b);
        w.End();
        w.End();
    };
    const std::vector<uint8_t> bytes = File([&](ThreeDSWriter& w) {
        w.Material({"Glass", {10, 20, 30}, ""});
        w.Begin(kMaterial);
        w.Begin(kMaterialName);
        w.String("Wood");
        w.End();
        floatColour(w, kColourFloat, 0.5f, 1.0f, 2.0f);
        w.Begin(0xA200);
        w.Begin(0xA300);
        w.String("wood.bmp");
        w.End();
        w.End();
        w.End();
        w.Begin(kMaterial);
        w.Begin(kMaterialName);
        w.String("Metal");
        w.End();
        floatColour(w, kColourFloatGamma, -1.0f, std::numeric_limits<float>::quiet_NaN(), 0.999f);
        w.End();
        w.Material({"WOOD", {1, 2, 3}, "other.bmp"});

        ThreeDSMesh mesh = UnitSquare("Grouped");
        mesh.faces.push_back({1, 2, 3});
        mesh.faces.push_back({0, 1, 3});
        mesh.groups = {{"wood", {0}}, {"Metal", {2, 900}}, {"Nothing", {1}}};
        w.Mesh(mesh);
        ThreeDSMesh faceless = UnitSquare("Faceless");
        faceless.faces.clear();
        faceless.groups = {{"Glass", {0, 7}}};
        w.Mesh(faceless);
        // The matrix: four rows of three.
        w.Begin(kObject);
        w.String("Placed");
        w.Begin(kMesh);
        w.Begin(kMatrix);
        for (int i = 1; i <= 12; ++i)
            w.F32(static_cast<float>(i));
        w.End();
        w.End();
        w.End();
    });
    const meshport::ThreeDSModel model = meshport::ReadThreeDS(bytes);
    ASSERT_EQ(model.materials.size(), 4u);
    EXPECT_EQ(model.materials[1].name, "Wood");
    EXPECT_EQ(model.materials[1].textureFile, "wood.bmp");
    EXPECT_EQ(model.materials[3].number, 3u);
    EXPECT_EQ(model.materials[0].ambient, (std::array<uint8_t, 3>{10, 20, 30}));
    // Colours outside 0..1 saturate, NaN is black.
    EXPECT_EQ(model.materials[1].ambient, (std::array<uint8_t, 3>{127, 255, 255}));
    EXPECT_EQ(model.materials[2].ambient, (std::array<uint8_t, 3>{0, 0, 254}));

    ASSERT_EQ(model.objects.size(), 3u);
    const meshport::MeshObject& grouped = model.objects[0];
    ASSERT_EQ(grouped.groups.size(), 3u);
    EXPECT_EQ(grouped.groups[0].material, 1u); // "wood" is Wood, not WOOD
    EXPECT_EQ(grouped.groups[1].material, 2u);
    EXPECT_EQ(grouped.groups[2].material, 0u); // no such material
    // Face 900 stands for the last face.
    EXPECT_EQ(grouped.faceMaterials, (std::vector<uint32_t>{1, 0, 2, 2}));
    EXPECT_TRUE(model.objects[1].faceMaterials.empty());
    EXPECT_EQ(model.objects[2].matrix[0], (std::array<float, 4>{1, 2, 3, 0}));
    EXPECT_EQ(model.objects[2].matrix[3], (std::array<float, 4>{10, 11, 12, 1}));

    // A file without materials gets one default material.
    const meshport::ThreeDSModel plain = meshport::ReadThreeDS(WriteThreeDS({UnitSquare("Plain")}));
    ASSERT_EQ(plain.materials.size(), 1u);
    EXPECT_EQ(plain.materials[0].number, 0u);
    EXPECT_EQ(plain.materials[0].name, "");
    EXPECT_EQ(plain.materials[0].textureFile, "");
}

TEST(MeshportTrace, TheTraceFileDescribesTheLastGroupRead)
{
    const test::TempDir dir;
    test::ScopedEnvironment env;
    env.Set("ZELVANE_LOG_DIR", dir.Path().string());
    ThreeDSMesh first = UnitSquare("First");
    first.groups = {{"A", {0, 1, 1}}};
    ThreeDSMesh second = UnitSquare("Second");
    second.groups = {{"B", {1}}, {"C", {15000, 15001, 1, 40000}}};
    const std::vector<uint8_t> grouped = WriteThreeDS({first, second});

    MeshSet set{};
    meshport::ImportBytes(grouped, set, meshport::TraceMode::Write);
    meshport::ReleaseMeshSet(set);
    EXPECT_EQ(test::ReadText(dir.Path() / "z.txt"), "NF 4\n1 15001\n3 40000\n");

    // A file without groups leaves the trace alone.
    meshport::ImportBytes(WriteThreeDS({UnitSquare("Plain")}), set, meshport::TraceMode::Write);
    meshport::ReleaseMeshSet(set);
    EXPECT_EQ(test::ReadText(dir.Path() / "z.txt"), "NF 4\n1 15001\n3 40000\n");

    // A trace that cannot be written is skipped; the import goes on.
    std::filesystem::remove(dir.Path() / "z.txt");
    std::filesystem::create_directory(dir.Path() / "z.txt");
    meshport::ImportBytes(grouped, set, meshport::TraceMode::Write);
    EXPECT_EQ(set.partCount, 2);
    meshport::ReleaseMeshSet(set);
}
