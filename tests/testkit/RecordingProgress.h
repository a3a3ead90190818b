#pragma once
// A progress display for tests: installed for its scope, it keeps every call
// as a line ("begin 50 Loading...", "step", "end").

#include "report/ProgressDisplay.h"

#include <string>
#include <vector>

namespace zelvane::test {

class RecordingProgress final : public IProgressDisplay {
public:
    RecordingProgress() { SetProgressDisplay(this); }
    ~RecordingProgress() override { SetProgressDisplay(nullptr); }
    RecordingProgress(const RecordingProgress&) = delete;
    RecordingProgress& operator=(const RecordingProgress&) = delete;

    void BeginProgress(int range, std::string_view text) override;
    void StepProgress() override { calls_.emplace_back("step"); }
    void EndProgress() override { calls_.emplace_back("end"); }

    const std::vector<std::string>& Calls() const { return calls_; }
    int Steps() const;

private:
    std::vector<std::string> calls_;
};

} // namespace zelvane::test
