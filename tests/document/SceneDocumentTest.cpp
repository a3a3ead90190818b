// The document's scene files: the header, a saved scene opened into an
// identical one, files that are not scenes or cannot be read, saves that fail
// part-way, and the working object file that travels beside the scene file.

#include "document/COGLDoc.h"
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
    void SetUp() override { SetReporter(&messages_); }
    void TearDown() override { SetReporter(nullptr); }

    // A scene that follows the working object file, as the editor's view does.
    std::unique_ptr<COGLScene> NewScene()
    {
        auto scene = std::make_unique<COGLScene>();
        scene->SetObjectFile(doc_.WorkingObject().File());
        doc_.WorkingObject().SetFileObserver([raw = scene.get()](CObjectFile* file) { raw->SetObjectFile(file); });
        return scene;
    }

    std::string LastMessage() const
    {
        return messages_.Messages().empty() ? std::string() : messages_.Messages().back().text;
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

    test::TempDir folder_;
    RecordingReporter messages_;
    // The user's own working object file is left alone.
    COGLDoc doc_{std::nullopt, {}, folder_.File("zeltemp.iff")};
};

TEST_F(SceneDocument, AnEmptySceneIsSixteenBytesAndOneBoxTwoHundredNinetyOne)
{
    const std::unique_ptr<COGLScene> scene = NewScene();
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("empty.cgs"), *scene));
    const std::vector<std::uint8_t> empty = test::ReadBytes(folder_.File("empty.cgs"));
    EXPECT_EQ(empty, (std::vector<std::uint8_t>{'C', 'G', 'S', '1', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    scene->AddObject(std::make_unique<COGLBox>());
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("box.cgs"), *scene));
    const std::vector<std::uint8_t> box = test::ReadBytes(folder_.File("box.cgs"));
    ASSERT_EQ(box.size(), 291u);
    EXPECT_EQ(std::vector<std::uint8_t>(box.begin() + 8 + 8 + 4 + 223, box.begin() + 8 + 8 + 4 + 227),
              std::vector<std::uint8_t>(4, 0xFF));
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(doc_.PathName(), "") << "saving does not change the document's path";
    EXPECT_EQ(Files(), (std::vector<std::string>{"box.cgs", "empty.cgs"})) << "no object file, nothing beside";
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
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("room.cgs"), *scene));

    // Any case of ".cgs" opens; the scene is cleared first.
    const std::unique_ptr<COGLScene> opened = NewScene();
    opened->AddObject(std::make_unique<COGLBox>());
    ASSERT_EQ(doc_.OpenDocumentFile(folder_.File("room.cgs"), *opened), OpenDocumentOutcome::Opened);
    EXPECT_EQ(doc_.PathName(), folder_.File("room.cgs"));
    ASSERT_EQ(opened->Objects().size(), 4u);
    EXPECT_EQ(opened->Objects()[1]->Texture(), opened->Textures().at(0).get());
    EXPECT_FALSE(opened->Objects()[2]->IsVisible());
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("again.cgs"), *opened));
    EXPECT_EQ(test::ReadBytes(folder_.File("again.cgs")), test::ReadBytes(folder_.File("room.cgs")));

    fs::copy_file(folder_.File("room.cgs"), folder_.File("UPPER.CGS"));
    const std::unique_ptr<COGLScene> upper = NewScene();
    EXPECT_EQ(doc_.OpenDocumentFile(folder_.File("UPPER.CGS"), *upper), OpenDocumentOutcome::Opened);
    EXPECT_EQ(upper->Objects().size(), 4u);
    EXPECT_EQ(doc_.OpenDocumentFile(folder_.File("wood.bmp"), *upper), OpenDocumentOutcome::NotASceneFile);
    EXPECT_EQ(upper->Objects().size(), 4u) << "another extension changes nothing";
    EXPECT_TRUE(messages_.Messages().empty()) << LastMessage();
}

TEST_F(SceneDocument, FilesThatAreNotScenesOrCannotBeReadAreReported)
{
    const std::unique_ptr<COGLScene> scene = NewScene();
    const auto opens = [&](const std::vector<std::uint8_t>& bytes) {
        test::WriteBytes(folder_.File("x.cgs"), bytes);
        return doc_.OnOpenDocument(folder_.File("x.cgs"), *scene);
    };
    EXPECT_FALSE(opens({'R', 'I', 'F', 'F', 1, 0, 0, 0}));
    EXPECT_EQ(LastMessage(), "\"" + folder_.File("x.cgs") + "\" is not a zelvane scene file: it does not begin with \"CGS1\".");
    EXPECT_FALSE(opens({'C', 'G'}));
    EXPECT_NE(LastMessage().find("is not a zelvane scene file"), std::string::npos);
    EXPECT_FALSE(opens({'C', 'G', 'S', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_NE(LastMessage().find("is of version 0; zelvane reads scene files of version 1 and later"), std::string::npos);
    EXPECT_FALSE(opens({'C', 'G', 'S', '1', 1, 0}));
    EXPECT_EQ(LastMessage(), "Failed to open document. \"" + folder_.File("x.cgs") + "\": the file ends inside its header");
    EXPECT_FALSE(doc_.OnOpenDocument(folder_.File("none.cgs"), *scene));
    EXPECT_EQ(LastMessage(), "Invalid filename. \"" + folder_.File("none.cgs") + "\": no such file");

    // Two boxes, the second cut short: the first stays, the path does not change.
    const std::unique_ptr<COGLScene> two = NewScene();
    two->AddObject(std::make_unique<COGLBox>());
    two->AddObject(std::make_unique<COGLBox>());
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("two.cgs"), *two));
    std::vector<std::uint8_t> cut = test::ReadBytes(folder_.File("two.cgs"));
    cut.resize(cut.size() - 100);
    EXPECT_FALSE(opens(cut));
    EXPECT_EQ(scene->Objects().size(), 1u);
    EXPECT_NE(LastMessage().find("Failed to open document."), std::string::npos);
    EXPECT_NE(LastMessage().find("object 2 of 2 (Box): the file ends too soon, at byte 466"), std::string::npos)
        << LastMessage();
    EXPECT_NE(LastMessage().find("The object before it was loaded."), std::string::npos);
    EXPECT_EQ(doc_.PathName(), "");
}

TEST_F(SceneDocument, ASaveThatFailsLeavesTheEarlierFileAsItWas)
{
    const std::unique_ptr<COGLScene> scene = NewScene();
    scene->AddObject(std::make_unique<COGLBox>());
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("room.cgs"), *scene));
    const std::vector<std::uint8_t> before = test::ReadBytes(folder_.File("room.cgs"));

    scene->AddObject(std::make_unique<COGLSphere>());
    FileFaults::Arm(1, true);
    const bool saved = doc_.OnSaveDocument(folder_.File("room.cgs"), *scene);
    FileFaults::Disarm();
    EXPECT_FALSE(saved);
    EXPECT_NE(LastMessage().find("Failed to save document. \"" + folder_.File("room.cgs") + "\": could not write"),
              std::string::npos)
        << LastMessage();
    EXPECT_EQ(test::ReadBytes(folder_.File("room.cgs")), before);
    EXPECT_EQ(Files(), std::vector<std::string>{"room.cgs"}) << "nothing half-written is left beside it";

    EXPECT_FALSE(doc_.OnSaveDocument(folder_.File("missing/room.cgs"), *scene));
    EXPECT_EQ(LastMessage(), "Invalid filename. \"" + folder_.File("missing/room.cgs") + "\": the folder \"" +
                                 folder_.File("missing/") + "\" does not exist");
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
    const std::unique_ptr<COGLScene> scene = NewScene();
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("start.cgs"), *scene));
    EXPECT_TRUE(Holds(folder_.File("start.iff"), "first words")) << "nothing to copy yet";
    ASSERT_EQ(doc_.OpenDocumentFile(folder_.File("start.cgs"), *scene), OpenDocumentOutcome::Opened);
    ASSERT_NE(working.File(), nullptr);
    EXPECT_EQ(scene->ObjectFile(), working.File());
    EXPECT_EQ(working.File()->Path(), zeltemp);
    EXPECT_TRUE(Holds(zeltemp, "first words"));

    // Saving copies the working file beside the scene file; it stays the working file.
    Relabel(working, "later words");
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("room.cgs"), *scene));
    EXPECT_TRUE(Holds(folder_.File("room.iff"), "later words"));
    EXPECT_EQ(test::ReadBytes(folder_.File("room.iff")), test::ReadBytes(zeltemp));
    ASSERT_NE(working.File(), nullptr);
    EXPECT_EQ(working.File()->Path(), zeltemp);
    EXPECT_EQ(scene->ObjectFile(), working.File()) << "reopened after the copy, and the scene told";
    EXPECT_FALSE(working.HasUnsavedEdits());

    // Later edits stay in the working file until the next save.
    Relabel(working, "third words");
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("plain"), *scene));
    EXPECT_TRUE(Holds(folder_.File("plain.iff"), "third words")) << "a name without a dot gets \".iff\"";
    EXPECT_TRUE(Holds(folder_.File("room.iff"), "later words")) << "a saved scene changes only when saved";
    // A scene saved under the working file's own name needs no copy.
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("zeltemp.cgs"), *scene));
    EXPECT_TRUE(Holds(zeltemp, "third words"));
    EXPECT_TRUE(messages_.Messages().empty()) << LastMessage();

    // Opening a scene over unsaved edits asks; No keeps them (the scene still opens).
    Relabel(working, "unsaved words");
    messages_.QueueAnswer(MessageAnswer::No);
    ASSERT_EQ(doc_.OpenDocumentFile(folder_.File("room.cgs"), *scene), OpenDocumentOutcome::Opened);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(LastMessage().find("Opening the scene \"" + folder_.File("room.cgs") + "\" replaces the working object"),
              std::string::npos)
        << LastMessage();
    EXPECT_TRUE(Holds(zeltemp, "unsaved words"));
    EXPECT_TRUE(working.HasUnsavedEdits());
    messages_.QueueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(doc_.OpenDocumentFile(folder_.File("room.cgs"), *scene), OpenDocumentOutcome::Opened);
    EXPECT_TRUE(Holds(zeltemp, "later words"));
    EXPECT_FALSE(working.HasUnsavedEdits());
    EXPECT_EQ(scene->ObjectFile(), working.File());

    // Without a file beside it, the working file stays as it is.
    messages_.Clear();
    fs::create_directory(folder_.File("alone"));
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("alone/bare.cgs"), *scene));
    fs::remove(folder_.File("alone/bare.iff"));
    CObjectFile* before = working.File();
    ASSERT_EQ(doc_.OpenDocumentFile(folder_.File("alone/bare.cgs"), *scene), OpenDocumentOutcome::Opened);
    EXPECT_EQ(working.File(), before);
    EXPECT_TRUE(messages_.Messages().empty()) << LastMessage();
}

TEST_F(SceneDocument, AnObjectFileThatCannotTravelLeavesTheWorkingFileUsable)
{
    WorkingObjectFile& working = doc_.WorkingObject();
    const std::string zeltemp = folder_.File("zeltemp.iff");
    WriteObjectFile(folder_.File("start.iff"), "first words");
    const std::unique_ptr<COGLScene> scene = NewScene();
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("start.cgs"), *scene));
    ASSERT_EQ(doc_.OpenDocumentFile(folder_.File("start.cgs"), *scene), OpenDocumentOutcome::Opened);
    Relabel(working, "kept words");

    // The copy cannot be put in place (a folder has its name): the scene file
    // is saved, the user is told, and the edits still count as unsaved.
    fs::create_directory(folder_.File("room.iff"));
    EXPECT_TRUE(doc_.OnSaveDocument(folder_.File("room.cgs"), *scene));
    EXPECT_NE(LastMessage().find("The scene was saved, but its object file was not"), std::string::npos)
        << LastMessage();
    ASSERT_NE(working.File(), nullptr);
    EXPECT_EQ(scene->ObjectFile(), working.File());
    EXPECT_TRUE(working.HasUnsavedEdits());
    EXPECT_TRUE(Holds(zeltemp, "kept words"));
    EXPECT_EQ(working.File()->Container().CountResources(kTypeSTRList), 1);

    // A damaged file beside a scene replaces nothing.
    messages_.Clear();
    ASSERT_TRUE(doc_.OnSaveDocument(folder_.File("bad.cgs"), *scene));
    test::WriteBytes(folder_.File("bad.iff"), {'F', 'O', 'R', 'M', 0, 0});
    Relabel(working, "kept words");
    messages_.QueueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(doc_.OpenDocumentFile(folder_.File("bad.cgs"), *scene), OpenDocumentOutcome::Opened);
    EXPECT_NE(LastMessage().find("could not become the working object file: \"" + folder_.File("bad.iff") +
                                 "\" does not open as an object file"),
              std::string::npos)
        << LastMessage();
    EXPECT_TRUE(Holds(zeltemp, "kept words"));
    EXPECT_EQ(scene->ObjectFile(), working.File());
    EXPECT_TRUE(working.HasUnsavedEdits());
}

} // namespace
} // namespace zelvane
