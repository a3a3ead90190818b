#pragma once
// Allocation for the few places that cannot go on without their memory.

#include <cstddef>

namespace zelvane {

// `bytes` of uninitialised memory from the heap, to be released with std::free.
// Never returns null: when the heap refuses, `FatalError("Out of memory")` ends
// the process.
void* CheckedAlloc(std::size_t bytes);

} // namespace zelvane
