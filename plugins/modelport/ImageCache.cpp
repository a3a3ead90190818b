#include "plugins/modelport/ImageCache.h"

#include "plugins/kit/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvane::modelport {

namespace {

bool SameBytes(const std::string& path, std::span<const uint8_t> bytes)
{
    std::unique_ptr<uint8_t[]> existing;
    size_t size = 0;
    if (!pluginkit::ReadWholeFile(path.c_str(), existing, size, bytes.size()))
        return false;
    return size == bytes.size() && (size == 0 || std::memcmp(existing.get(), bytes.data(), size) == 0);
}

// Written whole under a temporary name, then renamed: another program never
// sees half a picture.
bool WriteFresh(const std::string& path, std::span<const uint8_t> bytes)
{
    std::string staging = path + ".XXXXXX";
    const int fd = ::mkstemp(staging.data());
    if (fd < 0)
        return false;
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    const bool ok = written == bytes.size() && ::fchmod(fd, 0644) == 0 && ::close(fd) == 0;
    if (!ok || ::rename(staging.c_str(), path.c_str()) != 0) {
        if (!ok)
            ::close(fd);
        ::unlink(staging.c_str());
        return false;
    }
    return true;
}

} // namespace

std::string_view PictureExtension(std::span<const uint8_t> bytes)
{
    static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (bytes.size() >= sizeof kPng && std::memcmp(bytes.data(), kPng, sizeof kPng) == 0)
        return ".png";
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return ".jpg";
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return ".bmp";
    return {};
}

uint64_t ContentHash(std::span<const uint8_t> bytes)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::optional<std::string> StoreInCache(std::span<const uint8_t> bytes, std::string_view extension,
                                        const std::string& folder, std::string& problem)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        problem = "the cache folder " + folder + " cannot be made (" + ec.message() + ")";
        return std::nullopt;
    }
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(ContentHash(bytes)));
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string path =
            folder + hash + (attempt ? "-" + std::to_string(attempt) : std::string()) + std::string(extension);
        if (std::filesystem::exists(path, ec)) {
            if (SameBytes(path, bytes))
                return path;
            continue;
        }
        if (WriteFresh(path, bytes))
            return path;
        problem = "the picture cannot be written into " + folder + " (" + std::strerror(errno) + ")";
        return std::nullopt;
    }
    problem = "the cache folder " + folder + " holds too many other pictures of the same hash";
    return std::nullopt;
}

} // namespace zelvane::modelport
