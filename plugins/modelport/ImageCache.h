#pragma once
// Pictures that live inside a model file (a .glb's buffer, a data: URI)
// written out once into the user's cache folder, named after their content,
// so that a material can name them by path like any other texture.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelvane::modelport {

// The picture type of `bytes` by its signature: ".png", ".jpg", ".bmp", or
// empty for anything else (zelvane reads no other embedded type).
std::string_view PictureExtension(std::span<const uint8_t> bytes);

// The file in `folder` (ending in "/", made when missing) that holds
// `bytes`: "<16 hex digits of the content's hash><extension>", written
// through a temporary file and a rename when it is not there yet, reused when
// it is and holds the same bytes (a different file of that name, a hash
// collision, gets "-1", "-2", … after the hash). None, with `problem` saying
// why, when the folder cannot be made or the file cannot be written.
std::optional<std::string> StoreInCache(std::span<const uint8_t> bytes, std::string_view extension,
                                        const std::string& folder, std::string& problem);

// 64-bit FNV-1a of `bytes`.
uint64_t ContentHash(std::span<const uint8_t> bytes);

} // namespace zelvane::modelport
