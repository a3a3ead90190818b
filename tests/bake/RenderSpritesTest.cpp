// The editor's Object ▸ "Render Sprites from Scene...": the scene's object
// file gets the new sprites and is opened again, so what the editor shows of
// it is the new look; without an object file there is nothing to render into.

#include "document/RenderSprites.h"
#include "objects/ObjectClone.h"
#include "objects/PreviewTile.h"
#include "tests/bake/BakeFixtures.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

TEST(RenderSprites, TheScenesObjectFileShowsTheNewLookAtOnce)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    RecordedReports reports;
    COGLObject& box = stage.AddBox();
    box.SetDiffuse(0.9f, 0.1f, 0.1f, 1.0f);
    EXPECT_EQ(RenderSpritesFromScene(stage.Scene(), {&box}, {}, nullptr).error,
              "Could not render the sprites: there is no scene or no working object file");

    WorkingFile work("chair.iff");
    stage.Scene().SetObjectFile(OpenWorkingObjectFile(work.Path()));
    const CObjectFile* before = stage.Scene().ObjectFile();
    const BakeResult result = RenderSpritesFromScene(stage.Scene(), BakeableObjects(stage.Scene()), {}, nullptr);
    ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
    CObjectFile* after = stage.Scene().ObjectFile();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(after->Path(), work.Path());
    const CObjectEntry& chair = *after->ListedObjects().front();
    const ObjectPreview preview =
        ComposeObjectPreview(after->Container(), PreviewTilesOf(chair.Definition().Bytes(), {}));
    const Rgb side = preview.colour.PixelColour(preview.anchorX - 20, preview.anchorY + 10);
    EXPECT_GT(side.red, 2 * side.green); // the red box
    EXPECT_EQ(reports.Recorder().Messages().size(), 1u);
}
