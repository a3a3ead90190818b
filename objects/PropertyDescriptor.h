#pragma once
// One row of the property table: display name, help text, kind, where the
// value lives, choice or flag names, and whether the row is listed only in
// the advanced view.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// How a value is shown and entered.
enum class PropertyKind : int32_t {
    Number = 1,   // signed decimal in a single-line edit box
    Boolean = 3,  // check box
    Flags = 4,    // multiple-selection list: item i stands for bit i
    Text = 5,     // single-line edit box
    LongText = 6, // multi-line edit box
    Choice = 7,   // single-selection list: the value is the item's index
};

// Where a value lives: the resource name, a catalog string, or a record field.
enum class PropertyField : int32_t {
    ResourceName = 0,
    CatalogName = 1,
    CatalogDescription = 2,
    Guid = 5,
    Price = 6,
    InitialDepreciation = 8,
    DailyDepreciation = 9,
    SelfDepreciating = 10,
    DepreciationLimit = 11,
    RoomFlags = 13,
    FunctionFlags = 14,
    WallStyle = 15,
    Shadow = 16,
    ShadowFlags = 17,
    ShadowBrightness = 18,
    FrontFaceDirection = 19,
    ChairEntryFlags = 20,
    TileWidth = 21,
    FootprintInsetMask = 22,
    BuildModeType = 24,
    HungerRating = 25,
    ComfortRating = 26,
    HygieneRating = 27,
    BladderRating = 28,
    EnergyRating = 29,
    FunRating = 30,
    RoomRating = 31,
    RatingSkillFlags = 32,
    MiscFlags = 33,
    CustomWallStyleId = 34,
    Disabled = 35,
};

// A record field's place: byte offset and width in bytes (2 or 4).
struct RecordLocation {
    size_t offset = 0;
    size_t width = 2;
};

// The record field a property lives in; none for the resource name and the
// catalog strings.
std::optional<RecordLocation> RecordLocationOf(PropertyField field);

// The whole numbers a Number field takes: what its word holds, signed (the
// GUID's 32 bits either way, the footprint mask's 16 bits either way), and
// for amounts of money (price, depreciations) nothing below 0.
struct NumberRange {
    int64_t lowest = 0;
    int64_t highest = 0;
};
std::optional<NumberRange> NumberRangeOf(PropertyField field);

struct PropertyDescriptor {
    std::string displayName;
    std::string helpText;
    PropertyKind kind = PropertyKind::Number;
    PropertyField field = PropertyField::ResourceName;
    std::string names; // choice or flag names, comma-separated; empty for other kinds
    bool advanced = false; // listed only in the advanced view

    // The choice or flag names in order (bit 0 or value 0 first).
    std::vector<std::string> Names() const;
    // The 0-based place of a name in Names(), compared exactly.
    std::optional<int32_t> NameIndex(std::string_view name) const;
    // Which list items a value selects: for Flags item i when bit i is set,
    // for Choice only the item numbered by the value; empty for other kinds.
    std::vector<bool> SelectedItems(int32_t value) const;
    // Display name, ": " and help text, as the help box shows them.
    std::string HelpLine() const;
    // For a Number row: empty when `text` is a whole number in the field's
    // range; otherwise why not, with the range ("99999 is out of range;
    // Price takes whole numbers from 0 to 32767").
    std::string WhyNotANumber(std::string_view text) const;
};

} // namespace zelvane
