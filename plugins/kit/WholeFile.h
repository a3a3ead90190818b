#pragma once
// A model file read whole into memory for a plug-in's reader.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zelvane::pluginkit {

// The whole regular file at `path`, or as much of it as a read gives before
// it ends early. A plain read rather than a mapping, so a file cut short by
// someone else while it is read cannot bring the host down. False when the
// file cannot be opened, is no regular file or is larger than `maxSize`;
// throws std::bad_alloc when its bytes do not fit in memory.
bool ReadWholeFile(const char* path, std::unique_ptr<uint8_t[]>& bytes, size_t& size,
                   size_t maxSize = static_cast<size_t>(-1));

} // namespace zelvane::pluginkit
