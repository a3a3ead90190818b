// The working object file: cloning a base object into it, keeping the scene
// pointed at it, and asking before edits that exist nowhere else are lost.

#include "document/WorkingObjectFile.h"
#include "objects/ObjectDefinitionEditor.h"
#include "objects/ObjectFileOpener.h"
#include "objects/PropertyEditorModel.h"
#include "resfile/CTGIffFile.h"
#include "resfile/FileFaults.h"
#include "resfile/FileReplacement.h"
#include "scene/COGLScene.h"
#include "tests/document/SampleGameFixture.h"

#include <algorithm>
#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

class WorkingObject : public SampleGameTest {
protected:
    std::string path_ = work_.File("zeltemp.iff");
    WorkingObjectFile working_{path_};
    COGLScene scene_;
};

} // namespace

TEST_F(WorkingObject, ACloneBecomesTheScenesObjectFile)
{
    working_.SetFileObserver([this](CObjectFile* file) { scene_.SetObjectFile(file); });
    EXPECT_EQ(working_.File(), nullptr);
    EXPECT_EQ(working_.CurrentObject(), nullptr);

    ASSERT_EQ(working_.CloneFrom(Object("Table - Farmhouse Dining"), catalog_),
              WorkingObjectFile::CloneOutcome::Replaced);
    EXPECT_TRUE(reporter_.Messages().empty());
    ASSERT_NE(working_.File(), nullptr);
    EXPECT_EQ(scene_.ObjectFile(), working_.File());
    EXPECT_EQ(working_.CurrentObject()->ResourceName(), "Table - Farmhouse Dining");
    EXPECT_EQ(working_.CurrentObject()->Summary().name, "Farmhouse Dining Table");
    EXPECT_NE(working_.CurrentObject()->Definition().Guid(), Object("Table - Farmhouse Dining").Definition().Guid());
    EXPECT_FALSE(working_.HasUnsavedEdits()) << "a fresh clone can be made again";

    ASSERT_EQ(working_.CloneFrom(Object("Lamp - Brass Reading"), catalog_), WorkingObjectFile::CloneOutcome::Replaced);
    EXPECT_EQ(scene_.ObjectFile(), working_.File());
    EXPECT_EQ(working_.CurrentObject()->ResourceName(), "Lamp - Brass Reading");
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(WorkingObject, EditsNotSavedWithASceneAreReplacedOnlyWhenTheUserSaysSo)
{
    working_.SetFileObserver([this](CObjectFile* file) { scene_.SetObjectFile(file); });
    ASSERT_EQ(working_.CloneFrom(Object("Chair - Maple Dining"), catalog_), WorkingObjectFile::CloneOutcome::Replaced);
    working_.NoteEdited();
    EXPECT_TRUE(working_.HasUnsavedEdits());
    CObjectFile* edited = working_.File();
    const std::vector<uint8_t> bytes = ReadBytes(path_);

    reporter_.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(working_.CloneFrom(Object("Rug - Woven"), catalog_), WorkingObjectFile::CloneOutcome::KeptEdits);
    ASSERT_EQ(reporter_.Messages().size(), 1u);
    EXPECT_EQ(reporter_.Messages()[0].text,
              "\"Maple Dining Chair\" has property changes that were not saved with a scene. Cloning \"Rug - Woven\" "
              "replaces the working object file and loses them.\n\nReplace it anyway?");
    EXPECT_EQ(reporter_.Messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(working_.File(), edited);
    EXPECT_EQ(ReadBytes(path_), bytes);
    EXPECT_TRUE(working_.HasUnsavedEdits());

    reporter_.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(working_.CloneFrom(Object("Rug - Woven"), catalog_), WorkingObjectFile::CloneOutcome::Replaced);
    EXPECT_EQ(working_.CurrentObject()->ResourceName(), "Rug - Woven");
    EXPECT_FALSE(working_.HasUnsavedEdits());

    // Copied beside a saved scene, the edits are safe: no question.
    reporter_.Clear();
    working_.NoteEdited();
    const Status copied = working_.CopyBesideScene(work_.File("room.cgs"));
    ASSERT_TRUE(copied.ok()) << copied.Message();
    EXPECT_FALSE(working_.HasUnsavedEdits());
    EXPECT_EQ(working_.CloneFrom(Object("Lamp - Brass Reading"), catalog_), WorkingObjectFile::CloneOutcome::Replaced);
    EXPECT_TRUE(reporter_.Messages().empty());
}

TEST_F(WorkingObject, AFailedCloneOrOpenKeepsThePreviousFileCurrent)
{
    working_.SetFileObserver([this](CObjectFile* file) { scene_.SetObjectFile(file); });
    ASSERT_EQ(working_.CloneFrom(Object("Lamp - Brass Reading"), catalog_), WorkingObjectFile::CloneOutcome::Replaced);
    CObjectFile* lamp = working_.File();

    FileFaults::Arm(10, true);
    const auto failed = working_.CloneFrom(Object("Table - Farmhouse Dining"), catalog_);
    FileFaults::Disarm();
    EXPECT_EQ(failed, WorkingObjectFile::CloneOutcome::Failed);
    EXPECT_FALSE(reporter_.Messages().empty()) << "the user is told";
    EXPECT_EQ(working_.File(), lamp);
    EXPECT_EQ(scene_.ObjectFile(), lamp);
    EXPECT_EQ(working_.CurrentObject()->ResourceName(), "Lamp - Brass Reading");

    // A scene's companion is copied over the working file and opened in its
    // place, after the question about the edits it replaces.
    reporter_.Clear();
    WorkingObjectFile other(work_.File("room.iff"));
    ASSERT_EQ(other.CloneFrom(Object("Clock - Cuckoo"), catalog_), WorkingObjectFile::CloneOutcome::Replaced);
    working_.NoteEdited();
    reporter_.QueueAnswer(MessageAnswer::Yes);
    const Result<WorkingObjectFile::SceneCopyOutcome> taken = working_.TakeFromScene(work_.File("room.cgs"));
    ASSERT_TRUE(taken && *taken == WorkingObjectFile::SceneCopyOutcome::Taken) << taken.Message();
    EXPECT_EQ(reporter_.Messages().size(), 1u);
    EXPECT_EQ(scene_.ObjectFile(), working_.File());
    EXPECT_EQ(working_.File()->Path(), path_);
    EXPECT_EQ(working_.CurrentObject()->Summary().name, "Cuckoo Wall Clock");
    EXPECT_FALSE(working_.HasUnsavedEdits());
    const Result<WorkingObjectFile::SceneCopyOutcome> none = working_.TakeFromScene(work_.File("elsewhere.cgs"));
    EXPECT_TRUE(none && *none == WorkingObjectFile::SceneCopyOutcome::NoneBeside);
}

// A copy of the working object file taken at any moment between changes is a
// finished object file: its map is written, so it opens like a closed one.
TEST_F(WorkingObject, ACopyTakenAfterEveryFinishedChangeIsAFinishedObjectFile)
{
    const auto copyOpensByItsMap = [this](const std::string& name) {
        const std::string copy = work_.File(name);
        std::filesystem::copy_file(path_, copy, std::filesystem::copy_options::overwrite_existing);
        CTGIffFile file;
        EXPECT_EQ(file.OpenContainer(copy), kResOk);
        const bool byMap = file.IndexSourceUsed() == IndexSource::Map;
        EXPECT_EQ(file.CloseContainer(), kResOk);
        return byMap;
    };
    ASSERT_EQ(working_.CloneFrom(Object("Chair - Maple Dining"), catalog_), WorkingObjectFile::CloneOutcome::Replaced);
    EXPECT_TRUE(copyOpensByItsMap("after-clone.iff"));

    // A property change saved through the property editor's steps.
    const int16_t id = working_.CurrentObject()->DefinitionId();
    PropertyEditorModel editor(working_.File()->Container(), id);
    ASSERT_TRUE(editor.Open());
    const std::vector<std::string> rows = editor.ListItems();
    editor.SelectRow(static_cast<int32_t>(std::find(rows.begin(), rows.end(), "Price") - rows.begin()));
    editor.ValueChanged(PropertyValue::FromText("77"));
    ASSERT_EQ(editor.Apply(), kResOk);
    ASSERT_TRUE(copyOpensByItsMap("after-apply.iff"));
    {
        ObjectFileOpener opened;
        std::string why;
        ASSERT_TRUE(opened.Open(work_.File("after-apply.iff"), {}, why)) << why;
        ObjectDefinitionEditor read(opened.Container(), id);
        ASSERT_EQ(read.LoadForEditing(), kResOk);
        EXPECT_EQ(read.Record().Price(), 77);
    }

    // Written by something else (a render does this) and taken back.
    ASSERT_EQ(WorkingObjectFile(work_.File("lamp.iff")).CloneFrom(Object("Lamp - Brass Reading"), catalog_),
              WorkingObjectFile::CloneOutcome::Replaced);
    const Result<WorkingObjectFile::RewriteOutcome> rewritten = working_.Rewrite([&](CObjectFile&) {
        std::string error;
        return ReplaceWithCopy(work_.File("lamp.iff"), path_, error);
    });
    ASSERT_TRUE(rewritten && *rewritten == WorkingObjectFile::RewriteOutcome::Rewritten);
    EXPECT_TRUE(copyOpensByItsMap("after-rewrite.iff"));
    // A change made in the open file is written out whole by Commit.
    ResHandle* definition = working_.File()->Container().GetResource(kTypeOBJD, working_.CurrentObject()->DefinitionId(), nullptr);
    ASSERT_NE(definition, nullptr);
    ASSERT_EQ(working_.File()->Container().WriteResource(definition), kResOk);
    EXPECT_FALSE(copyOpensByItsMap("mid-change.iff")) << "between a write and its commit the copy is read by scanning";
    ASSERT_TRUE(working_.Commit());
    EXPECT_TRUE(copyOpensByItsMap("after-commit.iff"));
    EXPECT_TRUE(reporter_.Messages().empty());
}
