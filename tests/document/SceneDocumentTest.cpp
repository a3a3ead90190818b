// The document's scene files: the header, a saved scene opened into an
// identical one, files that are not scenes or cannot be read, saves that fail
// part-way, and the working object file that travels beside the scene file.

#include "document/COGLDoc.h"
#include "document/SceneFile.h"
#include "objects/CObjectFile.h"
#include "resfile/CTGResFile.h"
#include "resfile/FileFaults.h"
#include "resfile/IffBuilder.h"
#include "scene/COGLBox.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/COGLSphere.h"
#include "scene/WindowsBitmap.h"
#include "tests/scene/GLStage.h"
#include "tests/scene/TestMesh.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace zelvane {
namespace {

namespace fs = std::filesystem;

class SceneDocument : public testing::Test {
protected:
    void SetUp() override
    {
        SetReporter(&messages_);
        doc_.NewScene(test::TestMapsFolder());
    }
    void TearDown() override
    {
        doc_.CloseScene();
        SetReporter(nullptr);
    }

    // A scene of its own, for the file's format.
    static std::unique_ptr<COGLScene> NewScene() { return std::make_unique<COGLScene>(); }

    std::string LastMessage() const
    {
        return messages_.Messages().empty() ? std::string() : messages_.Messages().back().text;
    }
    // The failure's message, or the last warning.
    static std::string Said(const Status& status)
    {
        return !status.ok() ? status.Message() : status.Warnings().empty() ? std::string() : status.Warnings().back();
    }

    // The files of the folder, sorted.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::GLStage stage_{32, 32};
    test::TempDir folder_;
    RecordingReporter messages_;
    // The user's own working object file is left alone.
    COGLDoc doc_{std::nullopt, {}, folder_.File("zeltemp.iff")};
};

TEST_F(SceneDocument, AnEmptySceneIsSixteenBytesAndOneBoxTwoHundredNinetyOne)
{
    const std::unique_ptr<COGLScene> scene = NewScene();
    ASSERT_TRUE(WriteSceneFile(folder_.File("empty.cgs"), *scene).ok());
    const std::vector<std::uint8_t> empty = test::ReadBytes(folder_.File("empty.cgs"));
    EXPECT_EQ(empty, (std::vector<std::uint8_t>{'C', 'G', 'S', '1', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    scene->AddObject(std::make_unique<COGLBox>());
    ASSERT_TRUE(WriteSceneFile(folder_.File("box.cgs"), *scene).ok());
    const std::vector<std::uint8_t> box = test::ReadBytes(folder_.File("box.cgs"));
    ASSERT_EQ(box.size(), 291u);
    EXPECT_EQ(std::vector<std::uint8_t>(box.begin() + 8 + 8 + 4 + 223, box.begin() + 8 + 8 + 4 + 227),
              std::vector<std::uint8_t>(4, 0xFF));
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(Files(), (std::vector<std::string>{"box.cgs", "empty.cgs"}));

    // The document's save: no working object file, nothing beside it.
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("doc.cgs")).ok());
    EXPECT_EQ(test::ReadBytes(folder_.File("doc.cgs")), empty);
    EXPECT_EQ(doc_.PathName(), folder_.File("doc.cgs"));
    EXPECT_EQ(Files(), (std::vector<std::string>{"box.cgs", "doc.cgs", "empty.cgs"}));
}

TEST_F(SceneDocument, ASavedSceneOpensIntoAnIdenticalScene)
{
    const std::string wood = folder_.File("wood.bmp");
    test::WriteBytes(wood, EncodeWindowsBitmap(PlainImage(4, 4, 3, 0x40)));
    test::TestMesh square = test::SquareMesh(5);
    const std::unique_ptr<COGLScene> scene = NewScene();
    COGLTexture2D& texture = scene->AddTexture(std::make_unique<COGLTexture2D>());
    texture.SetSource(wood, 0);
    scene->AddObject(std::make_unique<COGLBox>()).SetTexture(&texture);
    auto plane = std::make_unique<COGLPlane>();
    plane->SetTessellated(true);
    plane->SetTexture(&texture);
    scene->AddObject(std::move(plane));
    scene->AddObject(std::make_unique<COGLSphere>()).Hide();
    scene->AddObject(std::make_unique<COGLMesh>(square.Set())).Translate(1, 2, 3);
    ASSERT_TRUE(WriteSceneFile(folder_.File("room.cgs"), *scene).ok());

    // Any case of ".cgs" opens; the scene is cleared first.
    doc_.AddObject(std::make_unique<COGLBox>(), "Add");
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("room.cgs")).ok());
    const COGLScene& opened = *doc_.Scene();
    EXPECT_EQ(doc_.PathName(), folder_.File("room.cgs"));
    ASSERT_EQ(opened.Objects().size(), 4u);
    EXPECT_EQ(opened.Objects()[1]->Texture(), opened.Textures().at(0).get());
    EXPECT_FALSE(opened.Objects()[2]->IsVisible());
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("again.cgs")).ok());
    EXPECT_EQ(test::ReadBytes(folder_.File("again.cgs")), test::ReadBytes(folder_.File("room.cgs")));

    fs::copy_file(folder_.File("room.cgs"), folder_.File("UPPER.CGS"));
    EXPECT_TRUE(doc_.OpenSceneFile(folder_.File("UPPER.CGS")).ok());
    EXPECT_EQ(doc_.Scene()->Objects().size(), 4u);
    EXPECT_FALSE(doc_.OpenSceneFile(folder_.File("wood.bmp")).ok());
    EXPECT_EQ(doc_.Scene()->Objects().size(), 4u) << "another extension changes nothing";
    EXPECT_TRUE(messages_.Messages().empty()) << LastMessage();
}

TEST_F(SceneDocument, FilesThatAreNotScenesOrCannotBeReadAreReported)
{
    doc_.AddObject(std::make_unique<COGLBox>(), "Add");
    std::string said;
    const auto opens = [&](const std::vector<std::uint8_t>& bytes) {
        test::WriteBytes(folder_.File("x.cgs"), bytes);
        const Status opened = doc_.OpenSceneFile(folder_.File("x.cgs"));
        said = opened.Message();
        return opened.ok();
    };
    EXPECT_FALSE(opens({'R', 'I', 'F', 'F', 1, 0, 0, 0}));
    EXPECT_EQ(said, "\"" + folder_.File("x.cgs") + "\" is not a zelvane scene file: it does not begin with \"CGS1\".");
    EXPECT_FALSE(opens({'C', 'G'}));
    EXPECT_NE(said.find("is not a zelvane scene file"), std::string::npos);
    EXPECT_FALSE(opens({'C', 'G', 'S', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_NE(said.find("is of version 0; zelvane reads scene files of version 1 and later"), std::string::npos);
    EXPECT_FALSE(opens({'C', 'G', 'S', '1', 1, 0}));
    EXPECT_EQ(said, "Failed to open document. \"" + folder_.File("x.cgs") + "\": the file ends inside its header");
    EXPECT_EQ(Said(doc_.OpenSceneFile(folder_.File("none.cgs"))),
              "Invalid filename. \"" + folder_.File("none.cgs") + "\": no such file");
    EXPECT_EQ(doc_.Scene()->Objects().size(), 1u) << "what is no scene file leaves the scene alone";
    EXPECT_TRUE(messages_.Messages().empty()) << "the document shows nothing itself";

    // Two boxes, the second cut short: the first stays, the path does not change.
    const std::unique_ptr<COGLScene> two = NewScene();
    two->AddObject(std::make_unique<COGLBox>());
    two->AddObject(std::make_unique<COGLBox>());
    ASSERT_TRUE(WriteSceneFile(folder_.File("two.cgs"), *two).ok());
    std::vector<std::uint8_t> cut = test::ReadBytes(folder_.File("two.cgs"));
    cut.resize(cut.size() - 100);
    EXPECT_FALSE(opens(cut));
    EXPECT_EQ(doc_.Scene()->Objects().size(), 1u);
    EXPECT_NE(said.find("Failed to open document."), std::string::npos);
    EXPECT_NE(said.find("object 2 of 2 (Box): the file ends too soon, at byte 466"), std::string::npos) << said;
    EXPECT_NE(said.find("The object before it was loaded."), std::string::npos);
    EXPECT_EQ(doc_.PathName(), "");
}

TEST_F(SceneDocument, ASaveThatFailsLeavesTheEarlierFileAsItWas)
{
    doc_.AddObject(std::make_unique<COGLBox>(), "Add");
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("room.cgs")).ok());
    const std::vector<std::uint8_t> before = test::ReadBytes(folder_.File("room.cgs"));

    doc_.AddObject(std::make_unique<COGLSphere>(), "Add");
    FileFaults::Arm(1, true);
    const Status saved = doc_.SaveSceneFile(folder_.File("room.cgs"));
    FileFaults::Disarm();
    EXPECT_FALSE(saved);
    EXPECT_NE(Said(saved).find("Failed to save document. \"" + folder_.File("room.cgs") + "\": could not write"),
              std::string::npos)
        << Said(saved);
    EXPECT_TRUE(doc_.HasUnsavedChanges()) << "the sphere is still not saved";
    EXPECT_EQ(test::ReadBytes(folder_.File("room.cgs")), before);
    EXPECT_EQ(Files(), std::vector<std::string>{"room.cgs"}) << "nothing half-written is left beside it";

    EXPECT_EQ(Said(doc_.SaveSceneFile(folder_.File("missing/room.cgs"))),
              "Invalid filename. \"" + folder_.File("missing/room.cgs") + "\": the folder \"" +
                  folder_.File("missing/") + "\" does not exist");
    EXPECT_EQ(doc_.PathName(), folder_.File("room.cgs")) << "a failed save keeps the scene's name";
}

// An object file holding one string list named `label`.
void WriteObjectFile(const std::string& path, const std::string& label)
{
    IffBuilder file;
    const std::vector<std::uint8_t> strings = {0xFD, 0xFF, 0, 0};
    file.AddChunk(kTypeSTRList, 128, label, strings);
    test::WriteBytes(path, file.Build(IffBuilder::Map::Written));
}

bool Holds(const std::string& path, const std::string& text)
{
    const std::vector<std::uint8_t> bytes = test::ReadBytes(path);
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// Relabels the working object file's string list, as an edit saved into it.
void Relabel(WorkingObjectFile& working, const std::string& label)
{
    CTGResFile& container = working.File()->Container();
    ResHandle* strings = container.GetResource(kTypeSTRList, 128, nullptr);
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(container.SetResInfo(strings, 128, label, -1), 0);
    container.ReleaseResource(strings);
    working.NoteEdited();
}

TEST_F(SceneDocument, TheWorkingObjectFileTravelsBesideTheSceneFileAndBack)
{
    WorkingObjectFile& working = doc_.WorkingObject();
    const std::string zeltemp = folder_.File("zeltemp.iff");
    // A scene with an object file beside it brings the first working file.
    WriteObjectFile(folder_.File("start.iff"), "first words");
    const COGLScene* scene = doc_.Scene();
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("start.cgs")).ok());
    EXPECT_TRUE(Holds(folder_.File("start.iff"), "first words")) << "nothing to copy yet";
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("start.cgs")).ok());
    ASSERT_NE(working.File(), nullptr);
    EXPECT_EQ(scene->ObjectFile(), working.File());
    EXPECT_EQ(working.File()->Path(), zeltemp);
    EXPECT_TRUE(Holds(zeltemp, "first words"));

    // Saving copies the working file beside the scene file; it stays the working file.
    Relabel(working, "later words");
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("room.cgs")).ok());
    EXPECT_TRUE(Holds(folder_.File("room.iff"), "later words"));
    EXPECT_EQ(test::ReadBytes(folder_.File("room.iff")), test::ReadBytes(zeltemp));
    ASSERT_NE(working.File(), nullptr);
    EXPECT_EQ(working.File()->Path(), zeltemp);
    EXPECT_EQ(scene->ObjectFile(), working.File()) << "reopened after the copy, and the scene told";
    EXPECT_FALSE(working.HasUnsavedEdits());

    // Later edits stay in the working file until the next save.
    Relabel(working, "third words");
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("plain")).ok());
    EXPECT_TRUE(Holds(folder_.File("plain.iff"), "third words")) << "a name without a dot gets \".iff\"";
    EXPECT_TRUE(Holds(folder_.File("room.iff"), "later words")) << "a saved scene changes only when saved";
    // A scene saved under the working file's own name needs no copy.
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("zeltemp.cgs")).ok());
    EXPECT_TRUE(Holds(zeltemp, "third words"));
    EXPECT_TRUE(messages_.Messages().empty()) << LastMessage();

    // Opening a scene over unsaved edits asks; No keeps them (the scene still opens).
    Relabel(working, "unsaved words");
    messages_.QueueAnswer(MessageAnswer::No);
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("room.cgs")).ok());
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(LastMessage().find("Opening the scene \"" + folder_.File("room.cgs") + "\" replaces the working object"),
              std::string::npos)
        << LastMessage();
    EXPECT_TRUE(Holds(zeltemp, "unsaved words"));
    EXPECT_TRUE(working.HasUnsavedEdits());
    messages_.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("room.cgs")).ok());
    EXPECT_TRUE(Holds(zeltemp, "later words"));
    EXPECT_FALSE(working.HasUnsavedEdits());
    EXPECT_EQ(scene->ObjectFile(), working.File());

    // Without a file beside it, the working file stays as it is.
    messages_.Clear();
    fs::create_directory(folder_.File("alone"));
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("alone/bare.cgs")).ok());
    fs::remove(folder_.File("alone/bare.iff"));
    CObjectFile* before = working.File();
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("alone/bare.cgs")).ok());
    EXPECT_EQ(working.File(), before);
    EXPECT_TRUE(messages_.Messages().empty()) << LastMessage();
}

TEST_F(SceneDocument, AnObjectFileThatCannotTravelLeavesTheWorkingFileUsable)
{
    WorkingObjectFile& working = doc_.WorkingObject();
    const std::string zeltemp = folder_.File("zeltemp.iff");
    WriteObjectFile(folder_.File("start.iff"), "first words");
    const COGLScene* scene = doc_.Scene();
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("start.cgs")).ok());
    ASSERT_TRUE(doc_.OpenSceneFile(folder_.File("start.cgs")).ok());
    Relabel(working, "kept words");

    // The copy cannot be put in place (a folder has its name): the scene file
    // is saved, the user is told, and the edits still count as unsaved.
    fs::create_directory(folder_.File("room.iff"));
    const Status saved = doc_.SaveSceneFile(folder_.File("room.cgs"));
    EXPECT_TRUE(saved.ok());
    EXPECT_NE(Said(saved).find("The scene was saved, but its object file was not"), std::string::npos)
        << Said(saved);
    ASSERT_NE(working.File(), nullptr);
    EXPECT_EQ(scene->ObjectFile(), working.File());
    EXPECT_TRUE(working.HasUnsavedEdits());
    EXPECT_TRUE(Holds(zeltemp, "kept words"));
    EXPECT_EQ(working.File()->Container().CountResources(kTypeSTRList), 1);

    // A damaged file beside a scene replaces nothing.
    messages_.Clear();
    ASSERT_TRUE(doc_.SaveSceneFile(folder_.File("bad.cgs")).ok());
    test::WriteBytes(folder_.File("bad.iff"), {'F', 'O', 'R', 'M', 0, 0});
    Relabel(working, "kept words");
    messages_.QueueAnswer(MessageAnswer::Yes);
    const Status opened = doc_.OpenSceneFile(folder_.File("bad.cgs"));
    ASSERT_TRUE(opened.ok());
    EXPECT_NE(Said(opened).find("could not become the working object file: \"" + folder_.File("bad.iff") +
                                "\" does not open as an object file"),
              std::string::npos)
        << Said(opened);
    EXPECT_TRUE(Holds(zeltemp, "kept words"));
    EXPECT_EQ(scene->ObjectFile(), working.File());
    EXPECT_TRUE(working.HasUnsavedEdits());
}

} // namespace
} // namespace zelvane
