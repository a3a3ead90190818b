#pragma once
// Reads a 3D Studio (.3ds) file held in memory into a ThreeDSModel.
//
// The file is untrusted: every read goes through a cursor limited to its
// chunk, so a chunk never reads past its own end or moves its parent. A
// chunk that claims more than its parent holds is read as far as it goes
// (truncated files keep what they have); a length shorter than a chunk
// header ends the walk of that level. Counts are cut to what the chunk
// holds. Only the known chunks are entered, so nesting is at most six deep.

#include "plugins/meshport/ThreeDSModel.h"

#include <cstdint>
#include <span>

namespace zelvane::meshport {

// Reads the objects and materials and resolves each face material group's
// material by name. A file that does not start with the main chunk gives a
// model with `accepted` false and nothing in it.
ThreeDSModel ReadThreeDS(std::span<const uint8_t> bytes);

} // namespace zelvane::meshport
