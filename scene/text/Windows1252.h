#pragma once
// Text in scene objects is 8-bit, in the Western Windows code page that scene
// files carry it in (1252: Latin-1 with typographic marks in 0x80–0x9F). Fonts
// are indexed by Unicode, and the command line speaks UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvane {

// The character a byte stands for. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control character of
// that number, as the platform maps them.
char32_t CodePointOf1252(std::uint8_t byte);

// `utf8` as code page bytes; nothing when it is not valid UTF-8 or holds a
// character the code page lacks.
std::optional<std::string> Utf8To1252(std::string_view utf8);

} // namespace zelvane
