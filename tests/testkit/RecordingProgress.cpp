#include "tests/testkit/RecordingProgress.h"

#include <algorithm>

namespace zelvane::test {

void RecordingProgress::BeginProgress(int range, std::string_view text)
{
    calls_.push_back("begin " + std::to_string(range) + " " + std::string(text));
}

int RecordingProgress::Steps() const
{
    return static_cast<int>(std::count(calls_.begin(), calls_.end(), "step"));
}

} // namespace zelvane::test
