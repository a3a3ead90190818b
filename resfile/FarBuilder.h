#pragma once
// Builds a FAR archive in memory: signature, version, the files' bytes, then
// the manifest. For tools that generate game folders and for test fixtures.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelvane {

class FarBuilder {
public:
    // `name` may hold "/" or "\" separated folders.
    void AddFile(std::string_view name, std::span<const uint8_t> data);
    std::vector<uint8_t> Build() const;

private:
    struct File {
        std::string name;
        std::vector<uint8_t> data;
    };
    std::vector<File> files_;
};

} // namespace zelvane
