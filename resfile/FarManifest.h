#pragma once
// Reading the manifest of a FAR archive from an open file. Hostile archives
// are handled by what they yield: a manifest that ends early keeps the
// entries read so far; an entry whose bytes reach past the archive's end, or
// whose name is unusable or longer than 2047 bytes, is skipped with a note.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zelvane {

struct FarEntry {
    std::string name;     // as stored, "/" separated, folders allowed
    uint32_t offset = 0;  // from the start of the archive
    uint32_t length = 0;
};

struct FarManifest {
    std::vector<FarEntry> entries;
    std::vector<std::string> notes; // why entries were skipped or reading ended early
    bool complete = false;          // every announced entry was read
};

// Reads the manifest through `fd` (positioned reads; the descriptor's offset is untouched).
FarManifest ReadFarManifest(int fd, uint64_t archiveSize);

// A manifest name as a clean relative "/" path, or empty when it is unusable:
// names that climb out of the archive's folder, are absolute or hold a NUL
// would plant entries elsewhere in the tree.
std::string CleanArchiveName(std::string_view raw);

} // namespace zelvane
