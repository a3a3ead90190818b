#pragma once
// What the benchmarks that compare against cp share: timing, medians, a warm
// cache, cp itself (fork/exec of /bin/cp) and syncing its copy.

#include <chrono>
#include <string>
#include <vector>

namespace zelvane::bench {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d);
double Median(std::vector<double> values);

// Reads the file once so every side starts from a warm cache.
void Warm(const std::string& path);
// /bin/cp FROM TO; true when it exited with 0.
bool Copy(const std::string& from, const std::string& to);
// fdatasync of the file.
bool SyncFile(const std::string& path);

} // namespace zelvane::bench
