// Where Insert and Import put things: on the floor in the middle of the
// footprint cage, each a step of its own and selected; an import turning
// about the middle of its box, sized, turned and fitted as the Import Options
// say; the texts Insert refuses, with the reason.

#include "document/COGLDoc.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/COGLText.h"
#include "tests/scene/GLStage.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zelvane {
namespace {

constexpr float kNear = 1e-4f;

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = kNear)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class FootprintPlacement : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(stage_.ok()) << stage_.Error();
        SetReporter(&reporter_);
        doc_.NewScene(test::TestMapsFolder());
        static_cast<void>(doc_.Plugins().ScanFolder(ZELVANE_TEST_PLUGIN_DIR));
        plugin_ = doc_.Plugins().FindByName("fulltest");
        ASSERT_NE(plugin_, nullptr);
        std::ofstream(folder_.File("lamp.tst")) << "triangle";
    }
    void TearDown() override
    {
        doc_.CloseScene();
        SetReporter(nullptr);
    }

    // The test plug-in's triangle spans x -1..3, y -2..4, z 2..6; the import
    // gives it 1/20 of that and stands its z up.
    COGLMesh& Import(const ImportOptions& options = {})
    {
        const Result<COGLMesh*> mesh = doc_.ImportFile(folder_.File("lamp.tst"), plugin_, options);
        EXPECT_TRUE(mesh) << mesh.Message();
        return **mesh;
    }

    test::GLStage stage_{64, 64};
    RecordingReporter reporter_;
    test::TempDir folder_;
    COGLDoc doc_{std::nullopt, {}, folder_.File("working.iff")};
    const CPlugin* plugin_ = nullptr;
};

TEST_F(FootprintPlacement, TheFootprintIsTheCageCentredOnTheOriginStandingOnTheFloor)
{
    const Box3 cage = FootprintBox({2, 3, 4});
    ExpectNear(cage.low, {-1.0f, 0.0f, -2.0f});
    ExpectNear(cage.high, {1.0f, 3.0f, 2.0f});
    // A box from (5, -1, 7) to (7, 1, 9) goes 6 back, up 1 and 8 forward.
    ExpectNear(OffsetOntoFootprint(Box3::Spanning({5, -1, 7}, {7, 1, 9}), {2, 3, 4}), {-6.0f, 1.0f, -8.0f});
    ExpectNear(OffsetOntoFootprint(Box3{}, {1, 1, 1}), {}); // an empty box stays
}

TEST_F(FootprintPlacement, EveryInsertedKindStandsOnTheFootprintSelectedAsOneStep)
{
    doc_.SetCage({3, 2, 3});
    for (const ObjectKind kind : kInsertableKinds) {
        const std::string name(DefaultNameOf(kind));
        const std::size_t steps = doc_.History().Count();
        COGLObject* object = doc_.InsertObject(kind);
        ASSERT_NE(object, nullptr) << name;
        EXPECT_EQ(object->Kind(), kind);
        EXPECT_EQ(doc_.Selection().object, object) << name;
        EXPECT_EQ(doc_.History().Count(), steps + 1) << name;
        EXPECT_EQ(doc_.History().UndoText(), "Insert " + name);
        const Box3 box = object->SceneBox();
        // Lying planes rise just off the floor so it does not show through.
        const bool lying = kind == ObjectKind::Plane || kind == ObjectKind::Disk;
        EXPECT_NEAR(box.low.y, lying ? 0.005f : 0.0f, kNear) << name << " stands on the floor";
        EXPECT_NEAR(box.Centre().x, 0.0f, kNear) << name;
        EXPECT_NEAR(box.Centre().z, 0.0f, kNear) << name;
        const Vector3 size = box.Size();
        EXPECT_LE(std::max({size.x, size.y, size.z}), 1.0f + kNear) << name << " is about a tile";
        EXPECT_GE(std::max({size.x, size.y, size.z}), 0.99f) << name;
    }
    // Standing up: the cylinder and the cone along y.
    doc_.Undo(); // the billboard
    doc_.Undo(); // the disk
    doc_.Undo(); // the plane
    const COGLObject& cone = *doc_.Scene()->Objects().back();
    ASSERT_EQ(cone.Kind(), ObjectKind::Cone);
    EXPECT_NEAR(cone.SceneBox().Size().y, 1.0f, kNear);
    EXPECT_EQ(doc_.InsertObject(ObjectKind::Floor), nullptr) << "the room's own planes are not inserted";
    EXPECT_EQ(doc_.InsertObject(ObjectKind::Mesh), nullptr);
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(FootprintPlacement, TextIsInsertedUprightOnTheFloorOrRefusedWithTheReason)
{
    EXPECT_EQ(WhyTextCannotBeMade({"", "Arial", 0.5f}), "Type the text to make.");
    EXPECT_EQ(WhyTextCannotBeMade({"   ", "Arial", 0.5f}), "Type the text to make.");
    EXPECT_NE(WhyTextCannotBeMade({"\xE4\xB8\xAD", "Arial", 0.5f}).find("Windows-1252"), std::string::npos);
    EXPECT_NE(WhyTextCannotBeMade({std::string(33, 'a'), "Arial", 0.5f}).find("at most 32"), std::string::npos);
    EXPECT_NE(WhyTextCannotBeMade({"Hi", "Arial", -1.0f}).find("from 0 to 10"), std::string::npos);
    EXPECT_NE(WhyTextCannotBeMade({"Hi", "Arial", std::nanf("")}).find("from 0 to 10"), std::string::npos);
    const std::size_t steps = doc_.History().Count();
    EXPECT_EQ(doc_.InsertText({"", "Arial", 0.5f}), nullptr);
    EXPECT_EQ(doc_.History().Count(), steps);

    // "Café" in UTF-8 becomes the code page's letters; a missing family falls back.
    auto* text = dynamic_cast<COGLText*>(doc_.InsertText({"Caf\xC3\xA9", "No Such Family", 0.25f}));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text(), "Caf\xE9");
    EXPECT_EQ(text->Extrusion(), 0.25f);
    EXPECT_EQ(doc_.History().UndoText(), "Insert Text");
    EXPECT_EQ(doc_.Selection().object, text);
    const Box3 box = text->SceneBox();
    EXPECT_NEAR(box.low.y, 0.0f, kNear);
    EXPECT_NEAR(box.Size().y, 1.0f, kNear) << "letters a unit high";
    EXPECT_NEAR(box.Size().z, 0.25f, kNear);
    EXPECT_NEAR(box.Centre().x, 0.0f, kNear);
    EXPECT_NEAR(box.Centre().z, 0.0f, kNear);
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(FootprintPlacement, AnImportStandsOnTheFootprintAndTurnsAboutItsMiddle)
{
    COGLMesh& mesh = Import();
    // Its origin moved to the middle of its box: the vertices span ±half.
    ExpectNear(mesh.VertexBox().low, {-2.0f, -3.0f, -2.0f});
    ExpectNear(mesh.VertexBox().high, {2.0f, 3.0f, 2.0f});
    ExpectNear(mesh.Scale(), {0.05f, 0.05f, 0.05f}, 1e-6f);
    // Standing on z: 0.2 wide, 0.2 high (its z), 0.3 deep (its y).
    Box3 box = mesh.SceneBox();
    ExpectNear(box.Size(), {0.2f, 0.2f, 0.3f});
    ExpectNear(box.Centre(), {0.0f, 0.1f, 0.0f});
    EXPECT_NEAR(box.low.y, 0.0f, kNear);

    // Rotate's vertical turn leaves it where it stands.
    for (int step = 0; step < 6; ++step) {
        mesh.SetOrientation(mesh.Orientation().TurnedAboutSceneAxis({0.0f, 1.0f, 0.0f}, 15.0f));
        box = mesh.SceneBox();
        EXPECT_NEAR(box.Centre().x, 0.0f, kNear);
        EXPECT_NEAR(box.Centre().z, 0.0f, kNear);
        EXPECT_NEAR(box.low.y, 0.0f, kNear);
    }
    // A quarter turn swaps width and depth.
    ExpectNear(mesh.SceneBox().Size(), {0.3f, 0.2f, 0.2f});

    // The whole import is undone as one step, and what is saved comes back alike.
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("lamp.cgs")).ok());
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("lamp.cgs")).ok());
    const auto* read = dynamic_cast<const COGLMesh*>(doc_.Scene()->Objects().back().get());
    ASSERT_NE(read, nullptr);
    ExpectNear(read->VertexBox().Centre(), {});
    ExpectNear(read->SceneBox().Size(), {0.3f, 0.2f, 0.2f});
    EXPECT_NEAR(read->SceneBox().low.y, 0.0f, kNear);
}

TEST_F(FootprintPlacement, ImportOptionsScaleTurnAndFitTheModel)
{
    ImportOptions twice;
    twice.scale = 2.0f;
    ExpectNear(Import(twice).SceneBox().Size(), {0.4f, 0.4f, 0.6f});

    ImportOptions yUp;
    yUp.up = ModelUpAxis::Y;
    COGLMesh& upright = Import(yUp);
    EXPECT_EQ(upright.Orientation(), Quaternion());
    ExpectNear(upright.SceneBox().Size(), {0.2f, 0.3f, 0.2f});
    EXPECT_NEAR(upright.SceneBox().low.y, 0.0f, kNear);

    ImportOptions zUp;
    zUp.up = ModelUpAxis::Z;
    ExpectNear(Import(zUp).SceneBox().Size(), {0.2f, 0.2f, 0.3f});

    // Fitted: as large as the 2 × 3 footprint allows, whatever the scale.
    doc_.SetCage({2, 1, 3});
    ImportOptions fit;
    fit.fitToFootprint = true;
    fit.scale = 7.0f;
    const Box3 fitted = Import(fit).SceneBox();
    ExpectNear(fitted.Size(), {2.0f, 2.0f, 3.0f}, 1e-3f);
    EXPECT_NEAR(fitted.low.y, 0.0f, 1e-3f);
    ExpectNear({fitted.Centre().x, 0.0f, fitted.Centre().z}, {}, 1e-3f);

    // A cage whose depth is the tighter side.
    doc_.SetCage({6, 1, 1});
    ExpectNear(Import(fit).SceneBox().Size(), {2.0f / 3.0f, 2.0f / 3.0f, 1.0f}, 1e-3f);
    EXPECT_TRUE(reporter_.Messages().empty());
}

} // namespace
} // namespace zelvane
