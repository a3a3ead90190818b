// The editor's Object ▸ "Render Sprites from Scene...": the working object
// file gets the new sprites and is opened again, so what the editor shows of
// it is the new look; property changes saved into it are kept; a cancel
// leaves the file as it was and the open object usable.

#include "document/ObjectPanelModel.h"
#include "document/RenderSprites.h"
#include "document/RenderSpritesModel.h"
#include "document/WorkingObjectFile.h"
#include "objects/ObjectDefinitionEditor.h"
#include "objects/ObjectFileOpener.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/FileFaults.h"
#include "objects/PreviewTile.h"
#include "scene/COGLSphere.h"
#include "tests/bake/BakeFixtures.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

namespace {

// Cancels once `steps` steps are done (never when negative).
class CancelAfter final : public IBakeProgress {
public:
    explicit CancelAfter(int steps) : steps_(steps) {}
    void Step(int done, int, std::string_view) override { done_ = done; }
    bool Cancelled() override { return steps_ >= 0 && done_ >= steps_; }

private:
    int steps_;
    int done_ = 0;
};

// The clone in `work` opened as the working object file, the scene following it.
void OpenAsWorking(WorkingObjectFile& working, const WorkingFile& work, COGLScene& scene)
{
    working.SetFileObserver([&scene](CObjectFile* file) { scene.SetObjectFile(file); });
    const std::string scenePath = work.Path().substr(0, work.Path().size() - 4) + ".cgs";
    const Result<WorkingObjectFile::SceneCopyOutcome> taken = working.TakeFromScene(scenePath);
    ASSERT_TRUE(taken && *taken == WorkingObjectFile::SceneCopyOutcome::Taken) << taken.Message();
}

Rgb SideColour(const CObjectFile& file)
{
    const CObjectEntry& object = *file.ListedObjects().front();
    const ObjectPreview preview =
        ComposeObjectPreview(file.Container(), PreviewTilesOf(object.Definition().Bytes(), {}));
    return preview.colour.PixelColour(preview.anchorX - 20, preview.anchorY + 10);
}

} // namespace

TEST(RenderSprites, TheWorkingObjectShowsTheNewLookAndKeepsItsPropertyChanges)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    RecordedReports reports;
    COGLObject& box = stage.AddBox();
    box.SetDiffuse(0.9f, 0.1f, 0.1f, 1.0f);
    WorkingFile work("chair.iff");
    WorkingObjectFile working(work.Path());
    EXPECT_EQ(RenderSpritesFromScene(working, stage.Scene(), {&box}, {}, nullptr).error,
              "Could not render the sprites: there is no scene or no working object file");

    OpenAsWorking(working, work, stage.Scene());
    {
        // The property editor's OK: the price saved into the open file.
        ObjectDefinitionEditor editor(working.File()->Container(), working.CurrentObject()->DefinitionId());
        ASSERT_EQ(editor.LoadForEditing(), 0);
        ASSERT_EQ(editor.StoreValue(*editor.Table().Find("Price"), PropertyValue::FromText("777")), 0);
        ASSERT_EQ(editor.WriteRecord(), 0);
        ASSERT_EQ(editor.Save(), 0);
        working.NoteEdited();
    }
    const CObjectFile* before = working.File();
    const BakeResult result = RenderSpritesFromScene(working, stage.Scene(), BakeableObjects(stage.Scene()), {},
                                                     nullptr);
    ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
    ASSERT_NE(working.File(), nullptr);
    EXPECT_NE(working.File(), before);
    EXPECT_EQ(stage.Scene().ObjectFile(), working.File());
    EXPECT_TRUE(working.HasUnsavedEdits()) << "the new sprites exist nowhere else";
    const Rgb side = SideColour(*working.File());
    EXPECT_GT(side.red, 2 * side.green); // the red box
    EXPECT_EQ(working.CurrentObject()->Definition().Price(), 777);

    // What another reader of the file finds is the same.
    int32_t code = 0;
    const auto reread = ObjectFileOpener::OpenSet(working.Path(), OpenPurpose::Read, code);
    ASSERT_NE(reread, nullptr) << code;
    EXPECT_TRUE(reports.Recorder().Messages().empty()) << "failures are the caller's to show";
}

// The property editor's changes cannot be written out first (the disk
// refuses): nothing is rendered, the result says why, the object stays open
// with its edits still counted as unsaved.
TEST(RenderSprites, ChangesThatCannotBeWrittenFirstStopTheRender)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    RecordedReports reports;
    stage.AddBox();
    WorkingFile work("chair.iff");
    WorkingObjectFile working(work.Path());
    OpenAsWorking(working, work, stage.Scene());
    {
        ObjectDefinitionEditor editor(working.File()->Container(), working.CurrentObject()->DefinitionId());
        ASSERT_EQ(editor.LoadForEditing(), 0);
        ASSERT_EQ(editor.StoreValue(*editor.Table().Find("Price"), PropertyValue::FromText("555")), 0);
        ASSERT_EQ(editor.WriteRecord(), 0);
        ASSERT_EQ(editor.Save(), 0); // the record is in the file; its map is written on closing
        working.NoteEdited();
    }
    FileFaults::Arm(1, true);
    const BakeResult result =
        RenderSpritesFromScene(working, stage.Scene(), BakeableObjects(stage.Scene()), {}, nullptr);
    FileFaults::Disarm();
    EXPECT_EQ(result.outcome, BakeOutcome::Failed);
    EXPECT_TRUE(result.spriteIds.empty());
    EXPECT_EQ(result.error.rfind("Could not render the sprites: could not write the changes of ", 0), 0u)
        << result.error;
    EXPECT_TRUE(reports.Recorder().Messages().empty());
    ASSERT_NE(working.CurrentObject(), nullptr);
    EXPECT_EQ(working.CurrentObject()->Definition().Price(), 555);
    EXPECT_EQ(stage.Scene().ObjectFile(), working.File());
    EXPECT_TRUE(working.HasUnsavedEdits());
}

TEST(RenderSprites, ACancelAtAnyStepLeavesTheFileAndTheOpenObjectAsTheyWere)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    RecordedReports reports;
    stage.AddBox().SetDiffuse(0.1f, 0.1f, 0.9f, 1.0f);
    WorkingFile work("chair.iff");
    WorkingObjectFile working(work.Path());
    OpenAsWorking(working, work, stage.Scene());
    const std::vector<uint8_t> bytes = work.Bytes();
    const Rgb side = SideColour(*working.File());
    const int steps = BakeStepCount(1);
    for (int cancelAt = 1; cancelAt < steps; ++cancelAt) {
        CancelAfter progress(cancelAt);
        const BakeResult result =
            RenderSpritesFromScene(working, stage.Scene(), BakeableObjects(stage.Scene()), {}, &progress);
        EXPECT_EQ(result.outcome, BakeOutcome::Cancelled) << "at step " << cancelAt;
        EXPECT_EQ(work.Bytes(), bytes) << "at step " << cancelAt;
        ASSERT_NE(working.CurrentObject(), nullptr);
        EXPECT_EQ(stage.Scene().ObjectFile(), working.File());
        EXPECT_EQ(SideColour(*working.File()), side);
        EXPECT_FALSE(working.HasUnsavedEdits());
    }
    EXPECT_TRUE(reports.Recorder().Messages().empty());
}

// The dialog's model: the user's visible objects, numbered where their names
// repeat, all chosen; only the chosen ones reach the sprites.
TEST(RenderSprites, TheDialogListsTheUsersObjectsAndRendersOnlyTheChosenOnes)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    RecordedReports reports;
    WorkingFile work("chair.iff");
    WorkingObjectFile working(work.Path());
    EXPECT_EQ(RenderSpritesModel(stage.Scene(), working).WhyNotReady(), kNoBaseObjectText);
    OpenAsWorking(working, work, stage.Scene());
    EXPECT_EQ(RenderSpritesModel(stage.Scene(), working).WhyNotReady(), kNothingToRenderText);

    stage.AddBox().SetDiffuse(0.9f, 0.1f, 0.1f, 1.0f);
    stage.AddBox().SetVisible(false);
    COGLObject& ball = stage.Scene().AddObject(std::make_unique<COGLSphere>());
    ball.SetScale(0.6f, 0.6f, 0.6f);
    ball.SetPosition(0.0f, 1.6f, 0.0f);
    ball.SetDiffuse(0.1f, 0.9f, 0.1f, 1.0f);
    COGLObject& named = stage.AddBox();
    named.SetName("Sphere");
    named.SetVisible(false);
    stage.AddBox().SetPosition(5.0f, 0.0f, 5.0f);

    RenderSpritesModel model(stage.Scene(), working);
    std::vector<std::string> labels;
    for (const auto& choice : model.Choices()) {
        labels.push_back(choice.label);
        EXPECT_TRUE(choice.chosen);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Box 1", "Sphere", "Box 2"}));
    EXPECT_EQ(model.WhyNotReady(), "");
    for (size_t row = 0; row < 3; ++row)
        model.SetChosen(row, false);
    EXPECT_EQ(model.WhyNotReady(), kNothingChosenText);

    model.SetChosen(1, true);
    const BakeResult result = model.Render(nullptr);
    ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
    const CObjectEntry& chair = *working.CurrentObject();
    const ObjectPreview preview =
        ComposeObjectPreview(working.File()->Container(), PreviewTilesOf(chair.Definition().Bytes(), {}));
    int red = 0, green = 0;
    for (int y = 0; y < preview.colour.Height(); ++y)
        for (int x = 0; x < preview.colour.Width(); ++x) {
            const Rgb c = preview.colour.PixelColour(x, y);
            red += c.red > 2 * c.green + 20;
            green += c.green > 2 * c.red + 20;
        }
    EXPECT_EQ(red, 0);
    EXPECT_GT(green, 500);
    EXPECT_TRUE(reports.Recorder().Messages().empty());
}
