#include "report/LogFolder.h"

#include <gtest/gtest.h>

#include <stdlib.h>

namespace zelvane {
namespace {

TEST(LogFolder, TheOverrideWinsThenTheStateHomeThenTheHomeFolder)
{
    setenv("HOME", "/home/sim", 1);
    setenv("XDG_STATE_HOME", "/var/state/", 1);
    setenv("ZELVANE_LOG_DIR", "/tmp/zlogs", 1);
    EXPECT_EQ(LogFolder(), "/tmp/zlogs/");

    setenv("ZELVANE_LOG_DIR", "", 1);
    EXPECT_EQ(LogFolder(), "/var/state/zelvane/");

    // A relative state home is invalid by convention and is skipped.
    setenv("XDG_STATE_HOME", "state", 1);
    EXPECT_EQ(LogFolder(), "/home/sim/.local/state/zelvane/");

    unsetenv("HOME");
    unsetenv("ZELVANE_LOG_DIR");
    EXPECT_EQ(LogFolder(), std::nullopt);
}

} // namespace
} // namespace zelvane
