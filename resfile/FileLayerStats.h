#pragma once
// Counts what the file layer writes, so benchmarks and tests can tell how
// many bytes an edit really cost.

#include <atomic>
#include <cstdint>

namespace zelvane {

class FileLayerStats {
public:
    static void Reset();
    static uint64_t BytesWritten() { return bytes_.load(std::memory_order_relaxed); }
    static uint64_t Writes() { return writes_.load(std::memory_order_relaxed); }
    static void CountWrite(uint64_t bytes)
    {
        bytes_.fetch_add(bytes, std::memory_order_relaxed);
        writes_.fetch_add(1, std::memory_order_relaxed);
    }

private:
    static std::atomic<uint64_t> bytes_;
    static std::atomic<uint64_t> writes_;
};

} // namespace zelvane
