#pragma once

#include <cstdint>

namespace zelvane {

// The picking name of a new scene object: a process-wide counter from 1. Every
// new object and every copy takes the next one; ids are never reused or
// stored in the scene file.
std::uint32_t NextObjectId();

} // namespace zelvane
