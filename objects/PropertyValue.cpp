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

std::optional<int64_t> ParseWholeNumber(std::string_view text)
{
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    constexpr size_t kMostDigits = 18;
    if (text.empty() || text.size() > kMostDigits || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int64_t value = 0;
    for (const char digit : text)
        value = value * 10 + (digit - '0');
    return negative ? -value : value;
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
