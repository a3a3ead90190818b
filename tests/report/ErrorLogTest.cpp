#include "report/CheckedAlloc.h"
#include "report/ErrorLog.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

// A refused allocation must come back as null for CheckedAlloc to see it; by
// default AddressSanitizer aborts instead.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

namespace zelvane {
namespace {

namespace fs = std::filesystem;

// Whether a log has started is process state, so every case logs in a child
// process, which begins like a new run of the program: this process never logs.
class ErrorLog : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "zelvane-logs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        env_.Set("ZELVANE_LOG_DIR", pattern);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Runs `body` in a new process; true when it ended without a failed check.
    static bool InNewRun(const std::function<void()>& body)
    {
        std::fflush(nullptr);
        const pid_t child = fork();
        if (child == 0) {
            body();
            std::_Exit(testing::Test::HasFailure() ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::string Contents(const fs::path& file) const
    {
        std::ifstream in(folder_ / file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder_;
    test::ScopedEnvironment env_;
};

// Writes each message to stderr with its icon, so a dying child can be checked.
class IconEchoReporter final : public IReporter {
public:
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon, MessageButtons) override
    {
        std::fprintf(stderr, "[%s] %.*s\n", icon == MessageIcon::Stop ? "stop" : "other", static_cast<int>(text.size()),
                     text.data());
        return MessageAnswer::Ok;
    }
};

TEST_F(ErrorLog, EachRunStartsItsLogsAfreshAndAppendsMessagesVerbatim)
{
    std::ofstream(folder_ / "log.txt") << "a previous run\n";
    std::ofstream(folder_ / "errors.txt") << "a previous error\n";

    ASSERT_TRUE(InNewRun([] {
        RecordingReporter recorder;
        SetReporter(&recorder);
        LogDebug("first ");
        LogDebug("run\n");
        ReportError("No catalog");
        ReportError("!");
        ASSERT_EQ(recorder.Messages().size(), 2u);
        EXPECT_EQ(recorder.Messages()[0].text, "No catalog");
        EXPECT_EQ(recorder.Messages()[0].buttons, MessageButtons::Ok);
    }));
    EXPECT_EQ(Contents("log.txt"), "first run\n");
    EXPECT_EQ(Contents("errors.txt"), "No catalog!");

    ASSERT_TRUE(InNewRun([] { LogDebug("second run"); }));
    EXPECT_EQ(Contents("log.txt"), "second run");
    EXPECT_EQ(Contents("errors.txt"), "No catalog!") << "a run without errors leaves the last error log alone";
}

TEST_F(ErrorLog, AnUnusableFolderDropsMessagesUntilALaterCallCanStartTheLog)
{
    const fs::path blocked = folder_ / "a-file";
    std::ofstream(blocked) << "x";
    env_.Set("ZELVANE_LOG_DIR", blocked.string());

    ASSERT_TRUE(InNewRun([&] {
        RecordingReporter recorder;
        SetReporter(&recorder);
        LogDebug("lost");
        ReportError("still shown");
        ASSERT_EQ(recorder.Messages().size(), 3u);
        EXPECT_EQ(recorder.Messages()[0].text, "Could not initialize debug outputter");
        EXPECT_EQ(recorder.Messages()[1].text, "Could not initialize Error outputter");
        EXPECT_EQ(recorder.Messages()[2].text, "still shown");

        setenv("ZELVANE_LOG_DIR", (folder_ / "later").c_str(), 1);
        LogDebug("kept");
        EXPECT_EQ(recorder.Messages().size(), 3u);
    }));
    EXPECT_EQ(Contents("later/log.txt"), "kept");
}

TEST_F(ErrorLog, FatalErrorLogsShowsTwiceWithTheStopIconLastAndEndsTheProcess)
{
    EXPECT_EXIT(
        {
            static IconEchoReporter echo;
            SetReporter(&echo);
            FatalError("Could not create View");
        },
        testing::ExitedWithCode(1), "^\\[other\\] Could not create View\n\\[stop\\] Could not create View\n$");
    EXPECT_EQ(Contents("errors.txt"), "Could not create View");
}

TEST_F(ErrorLog, CheckedAllocEndsTheProcessWhenTheHeapRefuses)
{
    EXPECT_EXIT(
        {
            static IconEchoReporter echo;
            SetReporter(&echo);
            CheckedAlloc(std::numeric_limits<std::size_t>::max() - 4096);
        },
        // Not anchored at the start: AddressSanitizer warns about the refused size first.
        testing::ExitedWithCode(1), "\\[other\\] Out of memory\n\\[stop\\] Out of memory\n$");
    EXPECT_EQ(Contents("errors.txt"), "Out of memory");
}

} // namespace
} // namespace zelvane
