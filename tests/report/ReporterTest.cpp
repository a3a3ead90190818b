#include "report/Reporter.h"
#include "tests/testkit/RecordingReporter.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

TEST(Reporter, WithoutAnInstalledReporterMessagesGoToStderrAndTakeTheFirstButton)
{
    RecordingReporter recorder;
    SetReporter(&recorder);
    SetReporter(nullptr);

    testing::internal::CaptureStderr();
    IReporter& reporter = CurrentReporter();
    EXPECT_EQ(reporter.ShowMessage("Clear the Scene?", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(reporter.ShowMessage("Save?", MessageIcon::Question, MessageButtons::YesNoCancel), MessageAnswer::Yes);
    EXPECT_EQ(reporter.ShowMessage("Go on?", MessageIcon::Warning, MessageButtons::OkCancel), MessageAnswer::Ok);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "zelvane: Clear the Scene?\nzelvane: Save?\nzelvane: Go on?\n");
    EXPECT_TRUE(recorder.Messages().empty());
}

} // namespace
} // namespace zelvane
