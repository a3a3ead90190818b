#include "report/RecordingReporter.h"
#include "report/Reporter.h"

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

TEST(RecordingReporter, RecordsEveryMessageAndAnswersFromItsScriptThenWithTheFirstButton)
{
    RecordingReporter recorder;
    recorder.QueueAnswer(MessageAnswer::No);
    recorder.QueueAnswer(MessageAnswer::Cancel);

    EXPECT_EQ(recorder.ShowMessage("Clear the Scene?", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(recorder.ShowMessage("Save?", MessageIcon::Warning, MessageButtons::YesNoCancel), MessageAnswer::Cancel);
    EXPECT_EQ(recorder.ShowMessage("Again?", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::Yes);

    ASSERT_EQ(recorder.Messages().size(), 3u);
    EXPECT_EQ(recorder.Messages()[1].text, "Save?");
    EXPECT_EQ(recorder.Messages()[1].icon, MessageIcon::Warning);
    EXPECT_EQ(recorder.Messages()[1].buttons, MessageButtons::YesNoCancel);
}

} // namespace
} // namespace zelvane
