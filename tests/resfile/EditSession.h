#pragma once
// Random editing sessions on an IFF container, mirrored in an in-memory
// model of what the file should hold. Shared by the property test and the
// crash-safety tests.

#include "resfile/CTGIffFile.h"

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zelvane::test {

using ResKey = std::pair<ResType, int16_t>;

struct ModelResource {
    std::vector<uint8_t> data;
    std::string name;
    bool operator==(const ModelResource&) const = default;
};

using Model = std::map<ResKey, ModelResource>;

enum class EditKind { Add, AddUnwritten, Rewrite, Grow, Shrink, Remove, Rename, Update, Commit, Reopen };

struct Edit {
    EditKind kind = EditKind::Update;
    ResKey key{};
    std::vector<uint8_t> data; // new contents (Add, Rewrite, Grow, Shrink)
    std::string name;          // new name (Add, Rename)
};

enum class UnwrittenEdits { Allowed, Excluded };

class EditSession {
public:
    EditSession(uint32_t seed, UnwrittenEdits unwritten) : rng_(seed), unwritten_(unwritten) {}

    // A random edit that makes sense for the model.
    Edit Next(const Model& model);

private:
    std::vector<uint8_t> RandomBytes(size_t size);
    size_t RandomSize();

    std::mt19937 rng_;
    UnwrittenEdits unwritten_;
};

// What the edit does to the model.
void ApplyToModel(Model& model, const Edit& edit);

// Carries the edit out on the open container; true when every call succeeded.
// `path` is needed to reopen.
bool ApplyToFile(CTGIffFile& file, const std::string& path, const Edit& edit);

// Opens the file by map and by forced scan and compares each with the model:
// same resources, byte for byte, same names; the chunk chain covers the file
// exactly and every indexed resource sits on a live chunk of its own.
// Returns an empty string or what differs.
std::string CompareWithModel(const std::string& path, const Model& model);

// After a crash or a failed write: every resource must hold its version
// before the edit or after it (a resource absent in one of them may be
// absent). Returns an empty string or what differs.
std::string CompareAfterFailure(const std::string& path, const Model& before, const Model& after);

} // namespace zelvane::test
