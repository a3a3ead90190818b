// Imported meshes: their place in the scene (a twentieth of the file's size,
// turned 90° about x, the cage over the set's extents), one list of filled
// triangles for both display modes, and lists that go with the mesh.

#include "scene/COGLMesh.h"
#include "tests/scene/GLStage.h"
#include "tests/scene/TestMesh.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

using test::At;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

// Draws `mesh` in white on black, looking down −z at 40 pixels a unit;
// `turnBack` undoes the mesh's own turn about x first.
PlainImage Drawn(test::GLStage& stage, COGLMesh& mesh, DrawFlags flags, bool turnBack)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -3, 3, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (turnBack)
        glRotatef(90, 1, 0, 0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    mesh.Draw(flags);
    return stage.Context().ReadImage();
}

TEST(Mesh, AnImportIsATwentiethOfItsSizeTurnedAboutXAndFilledInBothModes)
{
    test::GLStage stage(kWidth, kHeight);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    test::TestMesh square = test::SquareMesh(20);
    COGLMesh mesh(square.Set());
    EXPECT_EQ(mesh.Name(), "Mesh");
    EXPECT_EQ(mesh.Kind(), ObjectKind::Mesh);
    EXPECT_EQ(mesh.Scale(), (Vector3{0.05f, 0.05f, 0.05f}));
    Quaternion turned;
    turned = Quaternion::FromAxisAngle({1, 0, 0}, 90) * turned;
    turned.Normalise();
    EXPECT_EQ(mesh.Orientation(), turned);
    EXPECT_EQ(mesh.Extent(), (Vector3{20, 20, 0}));
    EXPECT_EQ(mesh.GetMeshSet().parts, square.Set().parts) << "the plug-in's arrays are kept, not copied";
    ASSERT_NE(mesh.MeshSolidList(), 0u);
    EXPECT_EQ(mesh.SolidList(), mesh.MeshSolidList());
    EXPECT_EQ(mesh.PickList(), mesh.MeshSolidList());
    EXPECT_EQ(mesh.WireList(), mesh.MeshWireList());

    for (const DrawFlags flags : {kDrawShaded, kDrawWireframe}) {
        SCOPED_TRACE(flags == kDrawShaded ? "shaded" : "wireframe");
        // Its 40 × 40 file units become 2 × 2 units, 80 pixels a side.
        const PlainImage faceOn = Drawn(stage, mesh, flags, true);
        EXPECT_EQ(At(faceOn, kWidth / 2 + 30, kHeight / 2 + 30), kWhite) << "filled, not outlined";
        EXPECT_EQ(At(faceOn, kWidth / 2 - 30, kHeight / 2 - 30), kWhite);
        EXPECT_EQ(At(faceOn, kWidth / 2 + 50, kHeight / 2), kBlack);
        // Turned about x, it lies edge-on to a view down −z.
        const PlainImage edgeOn = Drawn(stage, mesh, flags, false);
        EXPECT_EQ(At(edgeOn, kWidth / 2 + 30, kHeight / 2 + 30), kBlack);
        EXPECT_EQ(At(edgeOn, kWidth / 2 + 30, kHeight / 2 - 30), kBlack);
    }
}

TEST(Mesh, AFilesUnitsAndUpAxisSetTheImportUpAtTheGamesProportions)
{
    test::GLStage stage(kWidth, kHeight);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    test::TestMesh square = test::SquareMesh(20);
    Quaternion turned = Quaternion::FromAxisAngle({1, 0, 0}, 90);
    turned.Normalise();

    // Metres with +y up (glTF): a metre is 1/0.9 tiles, and nothing is turned.
    COGLMesh metres(square.Set(), {}, ModelUnits{1.0f, UpAxis::Y});
    EXPECT_FLOAT_EQ(metres.Scale().x, 1.0f / 0.9f);
    EXPECT_EQ(metres.Orientation(), Quaternion{});
    EXPECT_FLOAT_EQ(metres.DefaultScale(), 1.0f / 0.9f);
    EXPECT_EQ(metres.DefaultUpAxis(), UpAxis::Y);
    // Inches with +z up: scaled so, and turned as a 3D Studio mesh is.
    COGLMesh inches(square.Set(), {}, ModelUnits{0.0254f, UpAxis::Z});
    EXPECT_FLOAT_EQ(inches.Scale().y, 0.0254f / 0.9f);
    EXPECT_EQ(inches.Orientation(), turned);
    // Nothing known: 3D Studio's set-up, which the mesh reports as its defaults.
    COGLMesh unknown(square.Set(), {}, ModelUnits{});
    EXPECT_EQ(unknown.Scale(), (Vector3{0.05f, 0.05f, 0.05f}));
    EXPECT_EQ(unknown.Orientation(), turned);
    EXPECT_FLOAT_EQ(unknown.DefaultScale(), 0.05f);
    EXPECT_EQ(unknown.DefaultUpAxis(), UpAxis::Z);
    // A scale known without an axis is turned as 3D Studio's.
    COGLMesh scaledOnly(square.Set(), {}, ModelUnits{0.9f, UpAxis::Unknown});
    EXPECT_FLOAT_EQ(scaledOnly.Scale().z, 1.0f);
    EXPECT_EQ(scaledOnly.Orientation(), turned);
}

TEST(Mesh, AnEmptySetDrawsNothingAndAMeshTakesItsListWithIt)
{
    test::GLStage stage(kWidth, kHeight);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    test::TestMesh none;
    none.name = "none";
    auto empty = std::make_unique<COGLMesh>(none.Set());
    EXPECT_EQ(empty->TriangleCount(), 0);
    const PlainImage image = Drawn(stage, *empty, kDrawShaded, true);
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x < kWidth; x += 7)
            ASSERT_EQ(At(image, x, y), kBlack);

    const GLuint list = empty->MeshSolidList();
    ASSERT_NE(list, 0u);
    EXPECT_EQ(glIsList(list), GL_TRUE);
    empty.reset();
    EXPECT_EQ(glIsList(list), GL_FALSE);
}

} // namespace
} // namespace zelvane
