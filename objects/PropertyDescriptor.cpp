// Property descriptors: where record fields live, and the name lists.
//
//   1. Record locations
//   2. Names and selections

#include "objects/PropertyDescriptor.h"

#include "objects/ObjectDefinition.h"
#include "objects/PropertyValue.h"

#include <cstdint>

namespace zelvane {

// ---------------------------------------------------------------------------
// 1. Record locations

std::optional<RecordLocation> RecordLocationOf(PropertyField field)
{
    switch (field) {
    case PropertyField::ResourceName:
    case PropertyField::CatalogName:
    case PropertyField::CatalogDescription: return std::nullopt;
    case PropertyField::Guid: return RecordLocation{objd::kGuid, 4};
    case PropertyField::Price: return RecordLocation{objd::kPrice};
    case PropertyField::InitialDepreciation: return RecordLocation{objd::kInitialDepreciation};
    case PropertyField::DailyDepreciation: return RecordLocation{objd::kDailyDepreciation};
    case PropertyField::SelfDepreciating: return RecordLocation{objd::kSelfDepreciating};
    case PropertyField::DepreciationLimit: return RecordLocation{objd::kDepreciationLimit};
    case PropertyField::RoomFlags: return RecordLocation{objd::kRoomFlags};
    case PropertyField::FunctionFlags: return RecordLocation{objd::kFunctionFlags};
    case PropertyField::WallStyle: return RecordLocation{objd::kWallStyle};
    case PropertyField::Shadow: return RecordLocation{objd::kShadow};
    case PropertyField::ShadowFlags: return RecordLocation{objd::kShadowFlags};
    case PropertyField::ShadowBrightness: return RecordLocation{objd::kShadowBrightness};
    case PropertyField::FrontFaceDirection: return RecordLocation{objd::kFrontFaceDirection};
    case PropertyField::ChairEntryFlags: return RecordLocation{objd::kChairEntryFlags};
    case PropertyField::TileWidth: return RecordLocation{objd::kTileWidth};
    case PropertyField::FootprintInsetMask: return RecordLocation{objd::kFootprintInsetMask};
    case PropertyField::BuildModeType: return RecordLocation{objd::kBuildModeType};
    case PropertyField::HungerRating: return RecordLocation{objd::kHungerRating};
    case PropertyField::ComfortRating: return RecordLocation{objd::kComfortRating};
    case PropertyField::HygieneRating: return RecordLocation{objd::kHygieneRating};
    case PropertyField::BladderRating: return RecordLocation{objd::kBladderRating};
    case PropertyField::EnergyRating: return RecordLocation{objd::kEnergyRating};
    case PropertyField::FunRating: return RecordLocation{objd::kFunRating};
    case PropertyField::RoomRating: return RecordLocation{objd::kRoomRating};
    case PropertyField::RatingSkillFlags: return RecordLocation{objd::kRatingSkillFlags};
    case PropertyField::MiscFlags: return RecordLocation{objd::kMiscFlags};
    case PropertyField::CustomWallStyleId: return RecordLocation{objd::kCustomWallStyleId};
    case PropertyField::Disabled: return RecordLocation{objd::kDisabled};
    }
    return std::nullopt;
}

std::optional<NumberRange> NumberRangeOf(PropertyField field)
{
    const std::optional<RecordLocation> location = RecordLocationOf(field);
    if (!location)
        return std::nullopt;
    switch (field) {
    case PropertyField::Price:
    case PropertyField::InitialDepreciation:
    case PropertyField::DailyDepreciation:
    case PropertyField::DepreciationLimit: return NumberRange{0, INT16_MAX};
    case PropertyField::FootprintInsetMask: return NumberRange{INT16_MIN, UINT16_MAX};
    case PropertyField::Guid: return NumberRange{INT32_MIN, UINT32_MAX};
    default: break;
    }
    return location->width == 4 ? NumberRange{INT32_MIN, INT32_MAX} : NumberRange{INT16_MIN, INT16_MAX};
}

// ---------------------------------------------------------------------------
// 2. Names and selections

std::string PropertyDescriptor::WhyNotANumber(std::string_view text) const
{
    const std::optional<NumberRange> range = kind == PropertyKind::Number ? NumberRangeOf(field) : std::nullopt;
    if (!range)
        return {};
    const std::optional<int64_t> value = ParseWholeNumber(text);
    if (value && *value >= range->lowest && *value <= range->highest)
        return {};
    const std::string takes = displayName + " takes whole numbers from " + std::to_string(range->lowest) + " to " +
                              std::to_string(range->highest);
    std::string shown(text.substr(0, 40));
    if (text.size() > 40)
        shown += "...";
    if (!value)
        return "\"" + shown + "\" is not a whole number; " + takes;
    return std::to_string(*value) + " is out of range; " + takes;
}

std::vector<std::string> PropertyDescriptor::Names() const
{
    std::vector<std::string> out;
    if (names.empty())
        return out;
    size_t start = 0;
    for (;;) {
        const size_t comma = names.find(',', start);
        out.push_back(names.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            return out;
        start = comma + 1;
    }
}

std::optional<int32_t> PropertyDescriptor::NameIndex(std::string_view name) const
{
    const std::vector<std::string> all = Names();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i] == name)
            return static_cast<int32_t>(i);
    return std::nullopt;
}

std::vector<bool> PropertyDescriptor::SelectedItems(int32_t value) const
{
    const size_t count = Names().size();
    std::vector<bool> selected(kind == PropertyKind::Flags || kind == PropertyKind::Choice ? count : 0, false);
    for (size_t i = 0; i < selected.size(); ++i)
        selected[i] = kind == PropertyKind::Flags ? ((static_cast<uint32_t>(value) >> i) & 1u) != 0
                                                  : value == static_cast<int32_t>(i);
    return selected;
}

std::string PropertyDescriptor::HelpLine() const
{
    return displayName + ": " + helpText;
}

} // namespace zelvane
