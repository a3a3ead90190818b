#pragma once
// Reading UTF-8 one character at a time: what people type and read is UTF-8,
// and every conversion into a code page starts here.

#include <cstddef>
#include <optional>
#include <string_view>

namespace zelvane {

// The character starting at `at` (which moves past it), or none for bytes
// that are not UTF-8: overlong forms, surrogates and values past U+10FFFF
// included. `at` must lie inside `text`.
std::optional<char32_t> NextUtf8CodePoint(std::string_view text, std::size_t& at);

} // namespace zelvane
