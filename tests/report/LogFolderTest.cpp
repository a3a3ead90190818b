#include "report/LogFolder.h"
#include "tests/testkit/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

TEST(LogFolder, TheOverrideWinsThenTheStateHomeThenTheHomeFolder)
{
    test::ScopedEnvironment env;
    env.Set("HOME", "/home/sim");
    env.Set("XDG_STATE_HOME", "/var/state/");
    env.Set("ZELVANE_LOG_DIR", "/tmp/zlogs");
    EXPECT_EQ(LogFolder(), "/tmp/zlogs/");

    env.Set("ZELVANE_LOG_DIR", "");
    EXPECT_EQ(LogFolder(), "/var/state/zelvane/");

    // A relative state home is invalid by convention and is skipped.
    env.Set("XDG_STATE_HOME", "state");
    EXPECT_EQ(LogFolder(), "/home/sim/.local/state/zelvane/");

    env.Unset("HOME");
    env.Unset("ZELVANE_LOG_DIR");
    EXPECT_EQ(LogFolder(), std::nullopt);
}

} // namespace
} // namespace zelvane
