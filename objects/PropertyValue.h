#pragma once
// A property's value as its control shows or holds it: the text of an edit
// box, or the integer a check box (0 or 1), a flags list (item i selected as
// bit i) or a choice list (the selected item, -1 for none) stands for. Either
// form converts to the other by the editor's number rules, so a command line
// can hand over text for every row.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace zelvane {

// Edit box texts are read up to this many characters.
inline constexpr size_t kMaxValueText = 255;
// Resource names keep this many characters (a 64-byte buffer).
inline constexpr size_t kMaxResourceName = 63;

class PropertyValue {
public:
    PropertyValue() : value_(int32_t{0}) {}
    static PropertyValue FromText(std::string_view text) { return PropertyValue(std::string(text)); }
    static PropertyValue FromInteger(int32_t value) { return PropertyValue(value); }

    bool IsText() const { return std::holds_alternative<std::string>(value_); }
    // The text, or the integer in signed decimal.
    std::string AsText() const;
    // The integer, or the text converted by ParseNumber.
    int32_t AsInteger() const;
    // A check box is checked for every value but 0.
    bool Checked() const { return AsInteger() != 0; }

    bool operator==(const PropertyValue&) const = default;

private:
    explicit PropertyValue(std::string text) : value_(std::move(text)) {}
    explicit PropertyValue(int32_t value) : value_(value) {}
    std::variant<std::string, int32_t> value_;
};

// Signed decimal, as "%d" writes it.
std::string FormatNumber(int32_t value);

// Reads a decimal number the way the editor always has: from the first 255
// characters, leading white space skipped, one optional "+" or "-", then
// digits up to the first non-digit. No digits give 0; there is no overflow
// check, the 32-bit result wraps ("4294967295" is -1).
int32_t ParseNumber(std::string_view text);

// A decimal whole number as a person types it, strictly: white space around
// it, one optional "+" or "-", then digits and nothing else. Nothing for
// any other text, or for more than 18 digits (no field holds such a number).
std::optional<int64_t> ParseWholeNumber(std::string_view text);

// An edit box text as stored: at most `limit` characters, ending before any
// NUL (the stored formats end their texts with one).
std::string ClipText(std::string_view text, size_t limit = kMaxValueText);
// The same for UTF-8 text, cut before a character that would not fit whole.
std::string ClipUtf8Text(std::string_view text, size_t limit = kMaxValueText);

} // namespace zelvane
