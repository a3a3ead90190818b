// zelvane-cli import run in an empty folder: meshport's trace file goes into
// the log folder beside log.txt, and the folder the user is in stays empty.

#include "tests/cli/CliRunner.h"
#include "tests/testkit/ScopedEnvironment.h"
#include "tests/testkit/TestFiles.h"
#include "tools/ThreeDSWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;
namespace fs = std::filesystem;

TEST(ImportTrace, AnImportLeavesTheCurrentFolderEmpty)
{
    const TempDir work;
    const TempDir meshes;
    const TempDir logs;
    ScopedEnvironment env;
    env.Set("ZELVANE_LOG_DIR", logs.Path().string());
    ThreeDSMesh grouped = UnitSquare("Grouped");
    grouped.groups = {{"Wood", {0, 1}}};
    const std::string path = meshes.File("grouped.3ds");
    WriteBytes(path, WriteThreeDS({grouped}, {{"Wood", {}, "wood.bmp"}}));

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"import", path}, {"import", path, "--plugin", "meshport", "--json"}}) {
        const CliResult result = RunCli(args, work.Path().string());
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(fs::directory_iterator(work.Path()) == fs::directory_iterator()) << args.size();
    }
    const std::vector<uint8_t> trace = ReadBytes(logs.File("z.txt"));
    EXPECT_EQ(std::string(trace.begin(), trace.end()), "NF 2\n");
}
