// Nothing a user edits is ever lost: random editing sessions against a model,
// writes that fail part-way, and writers killed mid-session.

#include "resfile/FileFaults.h"
#include "tests/resfile/EditSession.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace zelvane;
using namespace zelvane::test;

namespace {

constexpr int kSessions = 1500;
constexpr int kEditsPerSession = 40;

} // namespace

TEST(IffSafety, RandomSessionsLeaveExactlyWhatTheModelHolds)
{
    TempDir dir;
    for (int seed = 1; seed <= kSessions; ++seed) {
        const std::string path = dir.File("s" + std::to_string(seed) + ".iff");
        CTGIffFile file;
        ASSERT_EQ(file.CreateContainer(path), kResOk);
        ASSERT_EQ(file.OpenContainer(path), kResOk);
        EditSession session(static_cast<uint32_t>(seed), UnwrittenEdits::Allowed);
        Model model;
        for (int step = 0; step < kEditsPerSession; ++step) {
            const Edit edit = session.Next(model);
            ASSERT_TRUE(ApplyToFile(file, path, edit)) << "seed " << seed << " step " << step;
            ApplyToModel(model, edit);
            if (edit.kind == EditKind::Reopen) {
                const std::string difference = CompareWithModel(path, model);
                ASSERT_EQ(difference, "") << "seed " << seed << " step " << step;
            }
            if (edit.kind == EditKind::Commit) {
                // A copy taken now, while the file is open, is complete: its
                // map is there and holds everything.
                const std::string copy = dir.File("copy.iff");
                std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
                CTGIffFile opened;
                ASSERT_EQ(opened.OpenContainer(copy), kResOk);
                ASSERT_EQ(opened.IndexSourceUsed(), IndexSource::Map) << "seed " << seed << " step " << step;
                ASSERT_EQ(opened.CloseContainer(), kResOk);
                const std::string difference = CompareWithModel(copy, model);
                ASSERT_EQ(difference, "") << "seed " << seed << " step " << step;
            }
        }
        ASSERT_EQ(file.CloseContainer(), kResOk);
        const std::string difference = CompareWithModel(path, model);
        ASSERT_EQ(difference, "") << "seed " << seed << " at the end";
        std::filesystem::remove(path);
    }
}

TEST(IffSafety, EveryFailingWriteLeavesCompletedWorkIntact)
{
    TempDir dir;
    for (uint32_t seed : {7u, 8u, 9u}) {
        // Count the calls that can fail in the whole session.
        int failedAt = -1;
        auto run = [&](const std::string& path, Model& before, Model& after) {
            CTGIffFile file;
            EditSession session(seed, UnwrittenEdits::Excluded);
            Model model;
            if (file.CreateContainer(path) != kResOk || file.OpenContainer(path) != kResOk)
                return false;
            for (int step = 0; step < 60; ++step) {
                const Edit edit = session.Next(model);
                before = model;
                ApplyToModel(model, edit);
                after = model;
                if (!ApplyToFile(file, path, edit)) {
                    failedAt = step;
                    return false; // the "machine" stops here
                }
            }
            before = after = model;
            return file.CloseContainer() == kResOk;
        };
        Model before, after;
        FileFaults::Disarm();
        ASSERT_TRUE(run(dir.File("count" + std::to_string(seed) + ".iff"), before, after)) << "edit " << failedAt << " failed";
        const uint64_t calls = FileFaults::Count();
        ASSERT_GT(calls, 100u);
        for (uint64_t k = 1; k <= calls; ++k) {
            const std::string path = dir.File("f" + std::to_string(seed) + "-" + std::to_string(k) + ".iff");
            FileFaults::Arm(k, true);
            const bool completed = run(path, before, after);
            FileFaults::Disarm();
            EXPECT_FALSE(completed) << "call " << k << " of " << calls << " failed without anyone noticing";
            if (!std::filesystem::exists(path))
                continue; // the failure struck before the file existed
            const std::string difference = CompareAfterFailure(path, before, after);
            ASSERT_EQ(difference, "") << "seed " << seed << ", failing call " << k << " of " << calls;
            std::filesystem::remove(path);
        }
    }
}

TEST(IffSafety, AWriterKilledMidSessionLosesNothingItCompleted)
{
    TempDir dir;
    for (uint32_t round = 0; round < 40; ++round) {
        const std::string path = dir.File("k" + std::to_string(round) + ".iff");
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(report[0]);
            CTGIffFile file;
            EditSession session(1000 + round, UnwrittenEdits::Excluded);
            Model model;
            if (file.CreateContainer(path) != kResOk || file.OpenContainer(path) != kResOk)
                std::_Exit(2);
            for (uint32_t step = 0;; ++step) {
                const Edit edit = session.Next(model);
                if (!ApplyToFile(file, path, edit))
                    std::_Exit(3);
                ApplyToModel(model, edit);
                // Tell the parent this edit is complete.
                if (::write(report[1], &step, sizeof step) != sizeof step)
                    std::_Exit(4);
            }
        }
        ::close(report[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + 997 * round));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself with status " << WEXITSTATUS(status);
        uint32_t completed = 0, step = 0;
        bool any = false;
        while (::read(report[0], &step, sizeof step) == sizeof step) {
            completed = step;
            any = true;
        }
        ::close(report[0]);
        if (!any)
            continue;

        // Replay the same session in the model: edits up to `completed` are
        // done, the next one may have been under way.
        EditSession session(1000 + round, UnwrittenEdits::Excluded);
        Model before;
        for (uint32_t i = 0; i <= completed; ++i)
            ApplyToModel(before, session.Next(before));
        Model after = before;
        ApplyToModel(after, session.Next(after));
        const std::string difference = CompareAfterFailure(path, before, after);
        ASSERT_EQ(difference, "") << "round " << round << ", killed after edit " << completed;
    }
}
