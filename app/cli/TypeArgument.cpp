#include "app/cli/TypeArgument.h"

#include <cctype>
#include <string>

namespace zelvane::cli {

bool ParseTypeArgument(std::string_view text, ResType& type)
{
    auto hexAt = [&](size_t i) { return i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); };
    std::string bytes;
    bool escaped = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'x' && hexAt(i + 2) && hexAt(i + 3)) {
            bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            escaped = true;
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    // Escaped codes are exact; only plain text gets the blank padding of short codes.
    if (escaped && bytes.size() != 4)
        return false;
    return ParseResType(bytes, type);
}

} // namespace zelvane::cli
