// The file locator: a path that opens, the same name beside the scene file
// (as written, or in another case), the user's choice, and giving up.

#include "scene/CFileLocator.h"
#include "tests/testkit/ScriptedFileDialog.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zelvane {
namespace {

TEST(FileLocator, TheFolderIsTheSceneFilesOwn)
{
    CFileLocator locator;
    locator.SetFolder("/home/sim/Scenes/room.cgs");
    EXPECT_EQ(locator.Folder(), "/home/sim/Scenes/");
    locator.SetFolder("C:\\Scenes\\room.cgs");
    EXPECT_EQ(locator.Folder(), "C:\\Scenes\\");
    locator.SetFolder("room.cgs");
    EXPECT_EQ(locator.Folder(), "") << "a scene file named without a folder lies in the current one";
}

TEST(FileLocator, LooksWhereThePathSaysThenBesideTheSceneFileThenAsks)
{
    test::TempDir folder;
    test::WriteBytes(folder.File("wood.bmp"), {1});
    test::WriteBytes(folder.File("Marble.Tga"), {1});
    test::ScriptedFileDialog dialog;
    CFileLocator locator;
    locator.SetFolder(folder.File("room.cgs"));

    std::string here = folder.File("wood.bmp");
    EXPECT_TRUE(locator.Locate(here));
    EXPECT_EQ(here, folder.File("wood.bmp"));
    std::string windows = "C:\\Old\\Maps\\wood.bmp";
    EXPECT_TRUE(locator.Locate(windows));
    EXPECT_EQ(windows, folder.File("wood.bmp"));
    std::string otherCase = "D:/textures/MARBLE.TGA";
    EXPECT_TRUE(locator.Locate(otherCase));
    EXPECT_EQ(otherCase, folder.File("Marble.Tga"));
    EXPECT_TRUE(dialog.Questions().empty());

    // An empty path finds nothing beside the scene file (its folder is no
    // file) and is asked for; so is a name that is nowhere.
    dialog.QueueAnswer(folder.File("wood.bmp"));
    std::string empty;
    EXPECT_TRUE(locator.Locate(empty));
    EXPECT_EQ(empty, folder.File("wood.bmp"));
    std::string lost = "C:\\Old\\Maps\\lost.bmp";
    EXPECT_FALSE(locator.Locate(lost));
    ASSERT_EQ(dialog.Questions().size(), 2u);
    EXPECT_EQ(dialog.Questions()[1].proposedName, "C:\\Old\\Maps\\lost.bmp");
    EXPECT_EQ(dialog.Questions()[1].startFolder, folder.File("")) << "the question starts beside the scene file";
    EXPECT_EQ(locator.NotFound(), std::vector<std::string>{"C:\\Old\\Maps\\lost.bmp"});

    // A pipe of that name would block an open: it is not a file to read.
    ASSERT_EQ(::mkfifo(folder.File("pipe.bmp").c_str(), 0600), 0);
    EXPECT_FALSE(IsReadableFile(folder.File("pipe.bmp")));
    EXPECT_FALSE(IsReadableFile(folder.Path().string()));
}

} // namespace
} // namespace zelvane
