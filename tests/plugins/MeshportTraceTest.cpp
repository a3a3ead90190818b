// Where meshport's trace file goes: the program's log folder, by the same
// rule as log.txt, made when missing; never the current folder, also when no
// log folder can be found.

#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/MeshportImport.h"
#include "plugins/meshport/TraceFile.h"
#include "report/LogFolder.h"
#include "tests/plugins/MeshportTestSupport.h"
#include "tests/testkit/ScopedEnvironment.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> GroupedFile()
{
    ThreeDSMesh mesh = UnitSquare("Grouped");
    mesh.groups = {{"A", {0, 1}}};
    return WriteThreeDS({mesh});
}

void ImportWithTrace(const std::vector<uint8_t>& bytes)
{
    MeshSet set{};
    meshport::ImportBytes(bytes, set, meshport::TraceMode::Write);
    EXPECT_EQ(set.partCount, 1);
    meshport::ReleaseMeshSet(set);
}

bool IsEmptyFolder(const fs::path& folder)
{
    return fs::is_directory(folder) && fs::directory_iterator(folder) == fs::directory_iterator();
}

} // namespace

TEST(MeshportTraceFolder, IsTheFolderOfTheProgramsLogs)
{
    struct Case {
        const char* override;
        const char* state;
        const char* home;
    };
    const Case cases[] = {
        {"/tmp/zlogs", "/var/state", "/home/sim"},
        {"/tmp/zlogs/", nullptr, nullptr},
        {"relative/logs", nullptr, "/home/sim"},
        {"", "/var/state/", "/home/sim"},
        {nullptr, "/var/state", nullptr},
        {nullptr, "state", "/home/sim/"}, // a relative state home is skipped
        {nullptr, "", "/home/sim"},
        {nullptr, "state", nullptr},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        test::ScopedEnvironment env;
        const std::pair<const char*, const char*> variables[] = {
            {"ZELVANE_LOG_DIR", c.override}, {"XDG_STATE_HOME", c.state}, {"HOME", c.home}};
        for (const auto& [name, value] : variables) {
            if (value)
                env.Set(name, value);
            else
                env.Unset(name);
        }
        const std::optional<std::string> program = LogFolder();
        EXPECT_EQ(meshport::TraceFolder(), program)
            << (c.override ? c.override : "-") << ' ' << (c.state ? c.state : "-") << ' ' << (c.home ? c.home : "-");
    }
}

TEST(MeshportTraceFolder, TheTraceLeavesTheCurrentFolderAlone)
{
    const test::TempDir work;
    const test::TempDir home;
    const test::CurrentFolder here(work.Path());
    test::ScopedEnvironment env;
    env.Unset("ZELVANE_LOG_DIR");
    env.Unset("XDG_STATE_HOME");
    env.Set("HOME", home.Path().string());
    const std::vector<uint8_t> grouped = GroupedFile();

    // The state folder below home is made for it.
    ImportWithTrace(grouped);
    EXPECT_EQ(test::ReadText(home.Path() / ".local/state/zelvane/z.txt"), "NF 2\n");
    EXPECT_TRUE(IsEmptyFolder(work.Path()));

    env.Set("XDG_STATE_HOME", (home.Path() / "state").string());
    ImportWithTrace(grouped);
    EXPECT_EQ(test::ReadText(home.Path() / "state/zelvane/z.txt"), "NF 2\n");

    // No folder at all: no trace, and still nothing here.
    env.Unset("XDG_STATE_HOME");
    env.Unset("HOME");
    ImportWithTrace(grouped);
    EXPECT_TRUE(IsEmptyFolder(work.Path()));

    // A log folder that cannot be made (a file stands in its way) skips the trace.
    test::WriteBytes(home.File("blocked"), {'x'});
    env.Set("ZELVANE_LOG_DIR", home.File("blocked") + "/logs");
    ImportWithTrace(grouped);
    EXPECT_TRUE(IsEmptyFolder(work.Path()));
}
