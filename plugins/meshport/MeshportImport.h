#pragma once
// meshport's import, behind the zelplug_Import export: from a file, or from
// bytes already in memory (the export reads the file and calls the latter,
// which is also what the fuzz target drives).

#include "plugins/interface/MeshSet.h"

#include <cstdint>
#include <span>

namespace zelvane::meshport {

enum class TraceMode { Write, Skip };

// Fills set.partCount and set.parts from a 3D Studio file's bytes (see
// HandOverMeshes); with TraceMode::Write a file with face material groups
// also leaves "z.txt" in the log folder (TraceFolder). Never throws: bytes
// that are not a 3D Studio file, or memory running out, leave the set empty
// (SetEmpty).
void ImportBytes(std::span<const uint8_t> bytes, MeshSet& set, TraceMode trace) noexcept;

// The same for the regular file at `path`, writing the trace. A path that
// cannot be opened or is not a regular file leaves the set empty.
void ImportFile(const char* path, MeshSet& set) noexcept;

} // namespace zelvane::meshport
