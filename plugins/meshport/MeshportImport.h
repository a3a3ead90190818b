#pragma once
// meshport's import, behind the zelplug_Import export: from a file, or from
// bytes already in memory (the export reads the file and calls the latter,
// which is also what the fuzz target drives).

#include "plugins/interface/MeshMaterials.h"
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
// The same, and with `materials` the file's materials and face groups, their
// texture files resolved as lying beside `modelPath` (HandOverMaterials).
void ImportBytes(std::span<const uint8_t> bytes, const char* modelPath, MeshSet& set, MeshMaterials* materials,
                 TraceMode trace) noexcept;

// The same for the regular file at `path`, writing the trace. A path that
// cannot be opened or is not a regular file leaves the set empty and the
// materials as they are.
void ImportFile(const char* path, MeshSet& set, MeshMaterials* materials = nullptr) noexcept;

} // namespace zelvane::meshport
