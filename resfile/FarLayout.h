#pragma once
// Byte layout of FAR archives (all numbers u32 little-endian).

#include <cstddef>
#include <cstdint>

namespace zelvane {

inline constexpr char kFarSignature[] = "FAR!byAZ";   // 8 bytes, not checked when reading
inline constexpr size_t kFarHeaderSize = 16;          // signature, version, manifest offset
inline constexpr size_t kFarVersionPos = 8;
inline constexpr size_t kFarManifestOffsetPos = 12;
inline constexpr size_t kFarEntryFixedSize = 16;      // length, second length, offset, name length
// Names of 2048 bytes or more cannot be valid paths; such entries are skipped.
inline constexpr uint32_t kFarMaxNameLength = 2047;

} // namespace zelvane
