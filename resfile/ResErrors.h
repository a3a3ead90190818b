#pragma once
// The resource library's error codes: 0 is success, failures are negative and
// kept as a container's last error. No exception crosses the library.

#include <cstdint>

namespace zelvane {

inline constexpr int32_t kResOk = 0;
inline constexpr int32_t kErrChunkMismatch = -1;        // chunk header type or length differs from the index
inline constexpr int32_t kErrCannotDelete = -39;
inline constexpr int32_t kErrDeleteMissing = -40;
inline constexpr int32_t kErrCannotCreate = -42;
inline constexpr int32_t kErrCreateExists = -43;
inline constexpr int32_t kErrNotWritable = -45;
inline constexpr int32_t kErrShortWrite = -46;
inline constexpr int32_t kErrAlreadyOpen = -47;
inline constexpr int32_t kErrShortRead = -48;           // also a seek beyond the end
inline constexpr int32_t kErrNotOpen = -49;
inline constexpr int32_t kErrCannotOpen = -50;          // also: not supported, cannot truncate, nothing to resume
inline constexpr int32_t kErrAttrUnsupported = -91;
inline constexpr int32_t kErrNoFilterAdmits = -92;
inline constexpr int32_t kErrNotIff = -93;
inline constexpr int32_t kErrNoWritableMember = -94;
inline constexpr int32_t kErrNotAvailable = -95;
inline constexpr int32_t kErrBadLayout = -96;           // resource data in a layout that cannot be read
inline constexpr int32_t kErrNoSuchResource = -98;
inline constexpr int32_t kErrNoSuchName = -99;
inline constexpr int32_t kErrTypeIndexRange = -100;
inline constexpr int32_t kErrNoCompactionMemory = -200;
inline constexpr int32_t kErrNoMember = -250;

// A short English description of a code, for messages shown to people.
const char* ResErrorText(int32_t code);

} // namespace zelvane
