#pragma once
// The in-memory index of an IFF container: type groups in the order they were
// met, each with its entries in order, and the free-bytes total.

#include "resfile/IffLayout.h"
#include "resfile/ResHandle.h"
#include "resfile/ResType.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

// Turns freshly read data into its in-memory form (for example byte order).
using ConvertProc = void (*)(uint8_t* data, uint32_t length);

struct IffEntry {
    uint32_t offset = kUnwrittenOffset;
    int32_t id = 0;
    uint16_t memFlags = 0;  // low byte library flags, high byte attribute
    uint16_t diskFlags = 0;
    ResHandle* data = nullptr;
    std::string label;

    uint8_t Attribute() const { return static_cast<uint8_t>(memFlags >> 8); }
    bool IsWritten() const { return offset != kUnwrittenOffset; }
};

struct IffTypeGroup {
    ResType type = 0;
    ConvertProc convert = nullptr;
    std::vector<IffEntry> entries;
};

struct IffIndex {
    uint32_t freeBytes = 0;
    std::vector<IffTypeGroup> groups;

    IffTypeGroup* FindGroup(ResType type);
    const IffTypeGroup* FindGroup(ResType type) const;
    // Removes a whole type group; true when there was one.
    bool RemoveGroup(ResType type);
    size_t EntryCount() const;
    void Clear() { freeBytes = 0; groups.clear(); }
};

} // namespace zelvane
