#pragma once
// Damages the bytes of an IFF object file the ways old disks and old tools
// do, steered by four bytes per damage: flag bits flipped, live chunks marked
// free, chunk sizes that lie (spanning, overlapping or cutting into their
// neighbours, or impossible), map entries moved into other chunks, a chunk
// written into another chunk's data with the map pointing at it, and a map
// offset in the file header that points elsewhere. A damage that does not
// apply to the file (no chunks, no readable map) leaves it as it is.

#include <cstdint>
#include <vector>

namespace zelvane::fuzz {

class IffDamage {
public:
    struct Op {
        uint8_t kind, a, b, c;
    };

    static void Apply(std::vector<uint8_t>& file, const Op& op);
};

} // namespace zelvane::fuzz
