#include "objects/PropertyValue.h"

namespace zelvane {

std::string PropertyValue::AsText() const
{
    if (const auto* text = std::get_if<std::string>(&value_))
        return *text;
    return FormatNumber(std::get<int32_t>(value_));
}

int32_t PropertyValue::AsInteger() const
{
    if (const auto* text = std::get_if<std::string>(&value_))
        return ParseNumber(*text);
    return std::get<int32_t>(value_);
}

std::string FormatNumber(int32_t value)
{
    return std::to_string(value);
}

int32_t ParseNumber(std::string_view text)
{
    text = text.substr(0, kMaxValueText);
    size_t i = 0;
    // The C library's white space in the "C" locale.
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Unsigned arithmetic wraps by definition; that is the behaviour wanted.
    uint32_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = magnitude * 10u + static_cast<uint32_t>(text[i] - '0');
    return static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
}

std::string ClipText(std::string_view text, size_t limit)
{
    text = text.substr(0, limit);
    return std::string(text.substr(0, text.find('\0')));
}

std::string ClipUtf8Text(std::string_view text, size_t limit)
{
    const auto continues = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    std::string clipped = ClipText(text, limit);
    // Cut inside a character: its first bytes go too.
    if (clipped.size() < text.size() && continues(text[clipped.size()])) {
        while (!clipped.empty() && continues(clipped.back()))
            clipped.pop_back();
        if (!clipped.empty())
            clipped.pop_back();
    }
    return clipped;
}

} // namespace zelvane
