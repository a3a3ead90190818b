#pragma once
// Temporary folders and file bytes for tests, and the folder of real files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zelvane::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Path of a file inside the folder, as text.
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::string& path);

// The folder of real files (ZELVANE_TESTDATA, else the build's default), or
// an empty path when it is absent.
std::filesystem::path TestDataDir();

} // namespace zelvane::test
