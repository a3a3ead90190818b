// modelport's OBJ reader: its statements as real files write them (and
// break them), polygons cut into triangles, and material libraries.

#include "plugins/modelport/ObjReader.h"
#include "plugins/modelport/Triangulate.h"
#include "tests/plugins/ModelportTestSupport.h"
#include "tests/testkit/TestFiles.h"
#include "tools/ObjWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace zelvane;
using modelport::ModelFormat;

namespace {

std::unique_ptr<test::ModelportImport> Obj(const std::string& text, const std::string& path = {})
{
    return test::ImportModelText(text, ModelFormat::Obj, path);
}

double Area(const MeshVertex& a, const MeshVertex& b, const MeshVertex& c)
{
    return ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2.0;
}

} // namespace

TEST(ModelportObj, StatementsPartsAndGroupsAsExportersWriteThem)
{
    // A byte-order mark, CRLF line ends, comments, negative indices,
    // "v//vn" corners, a group name used again, and no last line end.
    const std::string text = "\xEF\xBB\xBF# made by hand\r\n"
                             "v 0 0 0\r\nv 1 0 0\r\nv 1 1 0\r\nv 0 1 0\r\n"
                             "vt 0 0\r\nvt 1 0\r\nvt 1 1\r\nvt 0 1\r\nvn 0 0 1\r\n"
                             "o Table\r\nusemtl Wood\r\nf 1/1/1 2/2/1 3/3/1 4/4/1  # a quad\r\n"
                             "g Legs\r\nf -4//1 -3//1 -2//1\r\n"
                             "g Table\r\nf -4/-4 -2/-2 -1/-1";
    const auto imported = Obj(text);
    ASSERT_EQ(imported->problem, "");
    ASSERT_EQ(imported->set.partCount, 2);
    EXPECT_STREQ(imported->Part(0).name, "Table");
    EXPECT_STREQ(imported->Part(1).name, "Legs");
    EXPECT_EQ(imported->Part(0).faceCount, 3);
    EXPECT_EQ(imported->Part(1).faceCount, 1);
    // Each part holds only the vertices its faces use.
    EXPECT_EQ(imported->Part(0).vertexCount, 4);
    EXPECT_EQ(imported->Part(1).vertexCount, 3);
    const MeshPart& table = imported->Part(0);
    EXPECT_FLOAT_EQ(table.texCoords[table.faces[0].texCoord[2]].u, 1.0f);
    // A corner without texture coordinates gets (0, 0).
    const MeshPart& legs = imported->Part(1);
    EXPECT_FLOAT_EQ(legs.texCoords[legs.faces[0].texCoord[0]].u, 0.0f);
    EXPECT_EQ(imported->info.upAxis, ZELPLUG_UP_Y);
    EXPECT_TRUE(imported->Noted("\"Wood\" is in no material library"));
}

TEST(ModelportObj, ConcavePolygonsAreFilledExactlyAndLargeOnesDoNotHang)
{
    // An L of six corners: its area is 3, and no triangle may lie outside it.
    const std::vector<MeshVertex> ell = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
    std::vector<std::array<uint32_t, 3>> triangles;
    EXPECT_EQ(modelport::TriangulatePolygon(ell, triangles), modelport::Cut::Ears);
    ASSERT_EQ(triangles.size(), 4u);
    double area = 0;
    for (const auto& t : triangles) {
        const double a = Area(ell[t[0]], ell[t[1]], ell[t[2]]);
        EXPECT_GT(a, 0);
        area += a;
        const float cx = (ell[t[0]].x + ell[t[1]].x + ell[t[2]].x) / 3, cy = (ell[t[0]].y + ell[t[1]].y + ell[t[2]].y) / 3;
        EXPECT_FALSE(cx > 1 && cy > 1) << "a triangle fills the L's notch";
    }
    EXPECT_NEAR(area, 3.0, 1e-9);

    // The same L standing in the x-z plane, turned the other way round.
    ObjWriter obj;
    for (const MeshVertex& v : ell)
        obj.Vertex(v.x, 0, v.y);
    obj.Face({{6, 0}, {5, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0}});
    const auto upright = Obj(obj.Text());
    EXPECT_EQ(upright->Faces(), 4);

    // A star of 5000 corners: cut as a fan, with a note, at once.
    ObjWriter star;
    std::vector<std::pair<int64_t, int64_t>> corners;
    for (int i = 0; i < 5000; ++i) {
        const float angle = static_cast<float>(i) * 6.2831853f / 5000, radius = i % 2 ? 1.0f : 0.5f;
        star.Vertex(radius * std::cos(angle), radius * std::sin(angle), 0);
        corners.push_back({i + 1, 0});
    }
    star.Face(corners);
    const auto large = Obj(star.Text());
    EXPECT_EQ(large->Faces(), 4998);
    EXPECT_TRUE(large->Noted("concave polygons of more than 64 corners were cut as fans"));
}

TEST(ModelportObj, MaterialLibrariesGiveColoursAndPicturesBesideThemselves)
{
    test::TempDir folder;
    std::filesystem::create_directories(folder.Path() / "Materials" / "Maps");
    test::WriteBytes(folder.File("Materials/Maps/old oak.PNG"), {1, 2, 3});
    const std::string mtl = "newmtl Oak\n"
                            "Ka 0.1 0.2 0.3\nKd 0.5 0.25 0\nKs 1 1 1\nNs 500\nd 0.75\n"
                            "map_Kd -s 1 1 1 -o 0.5 0.5 -bm 0.2 -clamp on Maps/Old Oak.png\n"
                            "newmtl Glass\nKd 0.9\nTr 0.6\nNs nan\n";
    const std::string library = folder.File("Materials/My Woods.mtl");
    test::WriteBytes(library, {mtl.begin(), mtl.end()});
    const std::string text = "mtllib materials/my woods.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                             "usemtl Glass\nf 1 2 3\nusemtl Oak\nf 1 2 3\nf 3 2 1\nusemtl\nf 1 3 2\n";
    const auto imported = Obj(text, folder.File("model.obj"));
    ASSERT_EQ(imported->problem, "");
    const ModelMaterials& materials = imported->materials;
    ASSERT_EQ(materials.materials.size(), 2u);
    const ModelMaterial& oak = materials.materials[0];
    EXPECT_EQ(oak.name, "Oak");
    EXPECT_EQ(oak.ambient, (std::array<float, 3>{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(oak.diffuse, (std::array<float, 3>{0.5f, 0.25f, 0.0f}));
    EXPECT_FLOAT_EQ(oak.shininess, 64.0f);
    EXPECT_FLOAT_EQ(oak.opacity, 0.75f);
    EXPECT_EQ(oak.texturePath, folder.File("Materials/Maps/old oak.PNG"));
    const ModelMaterial& glass = materials.materials[1];
    EXPECT_EQ(glass.diffuse, (std::array<float, 3>{0.9f, 0.9f, 0.9f}));
    EXPECT_FLOAT_EQ(glass.opacity, 0.4f);
    EXPECT_FLOAT_EQ(glass.shininess, 0.0f);
    // The groups: one per material, by face; the last face in none.
    ASSERT_EQ(materials.partGroups.size(), 1u);
    ASSERT_EQ(materials.partGroups[0].size(), 2u);
    EXPECT_EQ(materials.partGroups[0][0].material, 0);
    EXPECT_EQ(materials.partGroups[0][0].faces, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(materials.partGroups[0][1].faces, (std::vector<int32_t>{0}));
}

TEST(ModelportObj, BrokenIndicesAndNumbersDropTheirFacesAndAreCounted)
{
    std::string longLine = "v 0 0 0 " + std::string(1 << 20, ' ') + "\n";
    const std::string text = longLine + "v 1 0 0\nv 0 1 0\nv nan 0 0\nv 1e40 1 1\nv 2 x 2\n"
                             "f 1 2 3\n"
                             "f 0 1 2\nf 1 2 9\nf -1 -2 -9\nf 1/5 2 3\nf 1 2 4\nf 1 2 5\n"
                             "f 1 2\nl 1 2\np 1\nf a b c\nf 1 2 6\n";
    const auto imported = Obj(text);
    ASSERT_EQ(imported->problem, "");
    EXPECT_EQ(imported->Faces(), 1);
    EXPECT_TRUE(imported->Noted("5 faces point past their vertices or texture coordinates"));
    EXPECT_TRUE(imported->Noted("3 faces have a corner that is not a finite number"));
    EXPECT_TRUE(imported->Noted("3 points and lines were left out"));
    EXPECT_EQ(Obj("")->set.partCount, 0);
    EXPECT_EQ(Obj("\xEF\xBB\xBF")->set.partCount, 0);
}
