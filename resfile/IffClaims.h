#pragma once
// The bytes of an open IFF file that a write must leave alone: the chunk of
// every resource in the index, and live chunks that nobody lists. Claims may
// overlap (a damaged map can point into another chunk, or list one chunk
// twice), so the file is kept as runs of bytes with the number of claims on
// each; a chunk is only rewritten where it is the one claim on its bytes.

#include "resfile/ResType.h"

#include <cstdint>
#include <map>
#include <utility>

namespace zelvane {

enum class ClaimRelease {
    FreeBytes, // the chunk was freed: its bytes are no longer anyone's
    KeepBytes, // the chunk stays as it is: its bytes stay claimed until the claims are cleared
};

class IffClaims {
public:
    void Clear();

    // A resource's claim on [offset, end), found again by type and offset.
    void ClaimForEntry(ResType type, uint32_t offset, uint64_t end);
    // A claim that lasts until the claims are cleared.
    void ClaimForSession(uint64_t begin, uint64_t end);
    // Ends one claim made with ClaimForEntry; nothing happens when there is none.
    void ReleaseEntry(ResType type, uint32_t offset, ClaimRelease release);
    bool HasEntry(ResType type, uint32_t offset) const;

    // Whether any byte of [begin, end) is claimed.
    bool AnyIn(uint64_t begin, uint64_t end) const;
    // Whether every byte of [begin, end) carries exactly one claim.
    bool OnceEach(uint64_t begin, uint64_t end) const;
    // The end of the last claimed byte; 0 when nothing is claimed.
    uint64_t End() const;

private:
    void Adjust(uint64_t begin, uint64_t end, int32_t delta);

    // Claims on the bytes from each key up to the next key; kept minimal (no
    // key carries the count of the run before it), so a whole run of
    // adjacent chunks is one entry.
    std::map<uint64_t, uint32_t> depth_;
    std::multimap<std::pair<uint32_t, ResType>, uint64_t> entries_;
};

} // namespace zelvane
