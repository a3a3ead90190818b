#include "resfile/FileFaults.h"

namespace zelvane {

std::atomic<uint64_t> FileFaults::failAt_{0};
std::atomic<uint64_t> FileFaults::count_{0};
std::atomic<bool> FileFaults::sticky_{false};

void FileFaults::Arm(uint64_t failAt, bool sticky)
{
    count_ = 0;
    sticky_ = sticky;
    failAt_ = failAt;
}

void FileFaults::Disarm()
{
    failAt_ = 0;
    count_ = 0;
}

uint64_t FileFaults::Count()
{
    return count_.load();
}

bool FileFaults::ShouldFail(Operation)
{
    const uint64_t failAt = failAt_.load(std::memory_order_relaxed);
    const uint64_t n = ++count_;
    if (failAt == 0)
        return false;
    return n == failAt || (sticky_ && n > failAt);
}

} // namespace zelvane
