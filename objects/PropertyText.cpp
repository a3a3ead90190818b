#include "objects/PropertyText.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>

namespace zelvane {

namespace {

bool IsListKind(PropertyKind kind)
{
    return kind == PropertyKind::Flags || kind == PropertyKind::Choice;
}

// A whole 32-bit number: decimal with an optional minus, or "0x" and hex digits.
std::optional<int32_t> WholeNumber(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    // Hexadecimal words may use all 32 bits.
    const int64_t low = std::numeric_limits<int32_t>::min();
    const int64_t high = base == 16 ? int64_t{std::numeric_limits<uint32_t>::max()} : std::numeric_limits<int32_t>::max();
    if (value < low || value > high)
        return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<PropertyValue> ParseNames(const PropertyDescriptor& row, std::string_view text, std::string& why)
{
    const bool flags = row.kind == PropertyKind::Flags;
    if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-')) {
        if (const std::optional<int32_t> number = WholeNumber(text))
            return PropertyValue::FromInteger(*number);
        why = "'" + std::string(text) + "' is not a number";
        return std::nullopt;
    }
    if (text.empty()) {
        if (flags)
            return PropertyValue::FromInteger(0);
        why = "a choice takes one of: " + row.names;
        return std::nullopt;
    }
    int32_t value = 0;
    size_t start = 0;
    for (bool more = true; more;) {
        size_t end = text.find(',', start);
        more = end != std::string_view::npos;
        if (!more)
            end = text.size();
        const std::string_view name = text.substr(start, end - start);
        start = end + 1;
        const std::optional<int32_t> index = row.NameIndex(name);
        if (!index) {
            why = "'" + std::string(name) + "' is not one of: " + row.names;
            return std::nullopt;
        }
        if (!flags && more) {
            why = "a choice takes one name, not several";
            return std::nullopt;
        }
        value = flags ? static_cast<int32_t>(static_cast<uint32_t>(value) | (1u << *index)) : *index;
    }
    return PropertyValue::FromInteger(value);
}

} // namespace

std::string PropertyValueText(const PropertyDescriptor& row, const PropertyValue& value)
{
    if (!IsListKind(row.kind))
        return value.AsText();
    const std::vector<std::string> names = row.Names();
    const std::vector<bool> selected = row.SelectedItems(value.AsInteger());
    std::string text;
    for (size_t i = 0; i < names.size() && i < selected.size(); ++i)
        if (selected[i])
            text += (text.empty() ? "" : ",") + names[i];
    return text.empty() && row.kind == PropertyKind::Choice ? std::to_string(value.AsInteger()) : text;
}

std::optional<PropertyValue> ParsePropertyValue(const PropertyDescriptor& row, std::string_view text,
                                                std::string& why)
{
    switch (row.kind) {
    case PropertyKind::Flags:
    case PropertyKind::Choice: return ParseNames(row, text, why);
    case PropertyKind::Boolean:
        if (text == "1" || text == "true" || text == "yes")
            return PropertyValue::FromInteger(1);
        if (text == "0" || text == "false" || text == "no")
            return PropertyValue::FromInteger(0);
        why = "a Boolean is 0 or 1";
        return std::nullopt;
    case PropertyKind::Number:
        if (std::string problem = row.WhyNotANumber(text); !problem.empty()) {
            why = std::move(problem);
            return std::nullopt;
        }
        return PropertyValue::FromText(text);
    case PropertyKind::Text:
    case PropertyKind::LongText: break;
    }
    return PropertyValue::FromText(text);
}

} // namespace zelvane
