#include "report/UserFolders.h"
#include "tests/testkit/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

TEST(UserFolders, EachKindTakesItsVariableElseItsPlaceBelowHome)
{
    test::ScopedEnvironment env;
    env.Set("HOME", "/home/sim/");
    env.Set("XDG_CONFIG_HOME", "/etc/sim");
    env.Set("XDG_DATA_HOME", "/data/");
    env.Unset("XDG_STATE_HOME");
    EXPECT_EQ(UserFolderPath(UserFolder::Config), "/etc/sim/zelvane/");
    EXPECT_EQ(UserFolderPath(UserFolder::Data), "/data/zelvane/");
    EXPECT_EQ(UserFolderPath(UserFolder::State), "/home/sim/.local/state/zelvane/");

    // Empty and relative values are ignored, as the convention says.
    env.Set("XDG_CONFIG_HOME", "");
    env.Set("XDG_DATA_HOME", "share");
    EXPECT_EQ(UserFolderPath(UserFolder::Config), "/home/sim/.config/zelvane/");
    EXPECT_EQ(UserFolderPath(UserFolder::Data), "/home/sim/.local/share/zelvane/");

    env.Unset("HOME");
    EXPECT_EQ(HomeFolder(), std::nullopt);
    EXPECT_EQ(UserFolderPath(UserFolder::Data), std::nullopt);
    env.Set("XDG_STATE_HOME", "/state");
    EXPECT_EQ(UserFolderPath(UserFolder::State), "/state/zelvane/");
}

} // namespace
} // namespace zelvane
