#pragma once
// Helpers for meshport's tests: a mesh set imported from bytes and freed
// with the test, fixture meshes, and the contract every set must keep.

#include "plugins/interface/MeshSet.h"
#include "tools/ThreeDSWriter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zelvane::test {

// A set imported in this process by meshport's reader (no trace file), freed on destruction.
class ImportedSet {
public:
    explicit ImportedSet(const std::vector<uint8_t>& bytes);
    ~ImportedSet();
    ImportedSet(const ImportedSet&) = delete;
    ImportedSet& operator=(const ImportedSet&) = delete;

    const MeshSet& operator*() const { return set_; }
    const MeshSet* operator->() const { return &set_; }
    const MeshPart& Part(int32_t index) const { return set_.parts[index]; }

private:
    MeshSet set_{};
};

// Empty when the set keeps the plug-in contract and meshport's own promises
// (one mapping coordinate per vertex, names of at most 11 characters), else
// what breaks them.
std::string ContractProblem(const MeshSet& set);

// Changes the current folder for the scope (to see that imports leave it alone).
class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path previous_;
};

std::string ReadText(const std::filesystem::path& path);

} // namespace zelvane::test
