// The working object file: cloning a base object into it, keeping the scene
// pointed at it, and asking before edits that exist nowhere else are lost.

#include "document/WorkingObjectFile.h"
#include "resfile/FileFaults.h"
#include "scene/COGLScene.h"
#include "tests/document/SampleGameFixture.h"


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
