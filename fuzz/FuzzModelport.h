#pragma once
// What the glTF and OBJ fuzz targets check of modelport's import: the
// records keep the plug-in contract as the host checks them (set and
// materials), every vertex is a finite number, a refused model has no part
// and says why, the notes stay within their limit, and the same bytes give
// the same set. Pictures inside a file and files beside it are not written
// or read (no cache folder, no model path).

#include "plugins/modelport/ModelportImport.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace zelvane::fuzz {

// Imports `bytes` as `format` twice and checks both; returns the face count.
int64_t CheckModelportImport(std::span<const uint8_t> bytes, modelport::ModelFormat format);

} // namespace zelvane::fuzz
