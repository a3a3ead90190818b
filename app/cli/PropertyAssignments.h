#pragma once
// Name=Value pairs stored into an object's definition as the property
// editor's OK stores them: `set`, and `make` for the properties it is given.

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane::cli {

struct StoredProperties {
    bool ok = false;
    // When not ok: what is at fault (the file, a pair, a property's name) and why.
    std::string subject;
    std::string error;
    std::size_t count = 0; // values stored
};

// Checks every pair before anything is stored (a typo or a value outside its
// field's range changes nothing), then stores them in OBJD `id` of `file`
// with its catalog strings and saves the file.
StoredProperties StoreProperties(const std::string& file, int16_t id, const std::vector<std::string>& assignments);

} // namespace zelvane::cli
