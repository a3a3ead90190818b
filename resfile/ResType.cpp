#include "resfile/ResType.h"

#include <cstdio>

namespace zelvane {

std::string ResTypeName(ResType type)
{
    std::string name;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>(type >> shift);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            name += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            name += escaped;
        }
    }
    return name;
}

bool ParseResType(std::string_view text, ResType& type)
{
    if (text.empty() || text.size() > 4)
        return false;
    type = 0;
    for (size_t i = 0; i < 4; ++i) {
        const auto c = static_cast<uint8_t>(i < text.size() ? text[i] : ' ');
        type = (type << 8) | c;
    }
    return true;
}

} // namespace zelvane
