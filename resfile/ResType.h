#pragma once
// Resource type codes: four ASCII characters in a 32-bit number, the first
// character in the most significant byte ('OBJD' = 0x4F424A44).

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvane {

using ResType = uint32_t;

constexpr ResType MakeResType(const char (&code)[5])
{
    return (static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3]));
}

inline constexpr ResType kTypeOBJD = MakeResType("OBJD");
inline constexpr ResType kTypeSTRList = MakeResType("STR#");
inline constexpr ResType kTypeCTSS = MakeResType("CTSS");
// The texts of an object's pie menu, a string list like 'STR#'.
inline constexpr ResType kTypeTTAs = MakeResType("TTAs");
inline constexpr ResType kTypeCATS = MakeResType("CATS");
inline constexpr ResType kTypeDGRP = MakeResType("DGRP");
inline constexpr ResType kTypeSPR = MakeResType("SPR#");
inline constexpr ResType kTypeSPR2 = MakeResType("SPR2");
inline constexpr ResType kTypePALT = MakeResType("PALT");
inline constexpr ResType kTypeBMP = MakeResType("BMP_");
inline constexpr ResType kTypeBHAV = MakeResType("BHAV");
inline constexpr ResType kTypeMap = MakeResType("rsmp");
inline constexpr ResType kTypeFree = MakeResType("XXXX");

// "OBJD" for 0x4F424A44; bytes outside printable ASCII are shown as \xNN.
std::string ResTypeName(ResType type);
// Parses a 1-4 character code (shorter codes are padded with blanks, as the
// game does for "BMP_"-style names); false for an empty or longer text.
bool ParseResType(std::string_view text, ResType& type);

} // namespace zelvane
