#pragma once
// Fault injection for the file layer: tests arm it to make the k-th write,
// flush or truncate fail, and prove that no editing session can lose data
// whatever call fails. Disarmed it costs one relaxed atomic load per call.

#include <atomic>
#include <cstdint>

namespace zelvane {

class FileFaults {
public:
    enum class Operation { Write, Flush, Truncate };

    // Fails the call numbered `failAt` (1-based, counting writes, flushes and
    // truncates together) and every later one while `sticky` is set; 0 disarms.
    static void Arm(uint64_t failAt, bool sticky);
    static void Disarm();
    // Calls counted since the last Arm or Disarm.
    static uint64_t Count();

    static bool ShouldFail(Operation operation);

private:
    static std::atomic<uint64_t> failAt_;
    static std::atomic<uint64_t> count_;
    static std::atomic<bool> sticky_;
};

} // namespace zelvane
