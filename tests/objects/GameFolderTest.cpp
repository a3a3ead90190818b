// Where the game folder comes from, in order, and the Wine registry's drive mapping.

#include "objects/GameFolder.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zelvane;
using zelvane::test::TempDir;

namespace {

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

} // namespace

TEST(GameFolder, SourcesAreTakenInOrderAndMissingFoldersPassedOver)
{
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "env game");
    std::filesystem::create_directories(dir.Path() / "profile game");
    std::filesystem::create_directories(dir.Path() / "sample");
    WriteText(dir.Path() / "zelvane.conf", "[Bars]\nSIMS_DATA=wrong\n\n[Settings]\nGamma=10\nSIMS_DATA=\"" +
                                               dir.File("profile game") + "\"\n");
    GameFolderInputs inputs;
    inputs.commandLine = dir.File("no such folder");
    inputs.environment = dir.File("env game");
    inputs.profilePath = dir.File("zelvane.conf");
    inputs.winePrefix = dir.File("no wine");
    inputs.sampleFolders = {dir.File("no sample"), dir.File("sample")};

    GameFolderChoice choice = FindGameFolder(inputs);
    EXPECT_EQ(choice.source, GameFolderSource::Environment);
    EXPECT_EQ(choice.folder, dir.File("env game") + "/");
    ASSERT_EQ(choice.notes.size(), 1u);
    EXPECT_NE(choice.notes[0].find("no such folder"), std::string::npos);

    inputs.environment.reset();
    EXPECT_EQ(FindGameFolder(inputs).source, GameFolderSource::Profile);
    EXPECT_EQ(FindGameFolder(inputs).folder, dir.File("profile game") + "/");
    inputs.profilePath = dir.File("missing.conf");
    EXPECT_EQ(FindGameFolder(inputs).source, GameFolderSource::SampleGame);
    EXPECT_EQ(FindGameFolder(inputs).folder, dir.File("sample") + "/");
    inputs.sampleFolders.clear();
    EXPECT_EQ(FindGameFolder(inputs).source, GameFolderSource::None);
    EXPECT_EQ(FindGameFolder(inputs).folder, "");
}

TEST(GameFolder, WineRegistryValueIsMappedThroughTheDriveIgnoringCase)
{
    TempDir dir;
    const std::filesystem::path prefix = dir.Path() / "wine";
    std::filesystem::create_directories(prefix / "drive_c" / "Program Files" / "Maxis" / "The Sims");
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    WriteText(prefix / "system.reg", "WINE REGISTRY Version 2\n\n"
                                     "[Software\\\\Other] 1\n\"SIMS_DATA\"=\"D:\\\\wrong\"\n\n"
                                     "[Software\\\\Maxis\\\\The Sims] 1600000000\n#time=1d\n"
                                     "\"Installed\"=dword:00000001\n"
                                     "\"SIMS_DATA\"=\"C:\\\\Program Files\\\\MAXIS\\\\the sims\"\n");
    EXPECT_EQ(ReadWineGameFolder((prefix / "system.reg").string()), "C:\\Program Files\\MAXIS\\the sims");

    GameFolderInputs inputs;
    inputs.profilePath = dir.File("none.conf");
    inputs.winePrefix = prefix.string();
    const GameFolderChoice choice = FindGameFolder(inputs);
    EXPECT_EQ(choice.source, GameFolderSource::WineRegistry);
    EXPECT_TRUE(std::filesystem::equivalent(choice.folder, prefix / "drive_c" / "Program Files" / "Maxis" / "The Sims"));
    EXPECT_EQ(MapWinePath(prefix.string(), "Q:\\x"), std::nullopt);
    EXPECT_EQ(MapWinePath(prefix.string(), "relative\\x"), std::nullopt);
}
