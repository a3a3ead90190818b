#include "bench/BenchFiles.h"

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zelvane::bench {

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Warm(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    }
}

bool Copy(const std::string& from, const std::string& to)
{
    const char* args[] = {"cp", from.c_str(), to.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/cp", nullptr, nullptr, const_cast<char* const*>(args), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool SyncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

} // namespace zelvane::bench
