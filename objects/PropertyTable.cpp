// The property table's rows.

#include "objects/PropertyTable.h"

#include <iterator>

namespace zelvane {

namespace {

struct RowText {
    const char* displayName;
    const char* helpText;
    PropertyKind kind;
    PropertyField field;
    const char* names;
    bool advanced;
};

using K = PropertyKind;
using F = PropertyField;

constexpr RowText kRows[] = {
    {"Resource Name", "The name of the resource, as it appears in lists.", K::Text, F::ResourceName, "", false},
    {"Name", "The name of the object, as it appears in the catalog.", K::Text, F::CatalogName, "", false},
    {"Description", "The description of the object, as it appears in the catalog.", K::LongText,
     F::CatalogDescription, "", false},
    {"Price", "The price of the object, when it is initially sold.", K::Number, F::Price, "", false},
    {"Self Depreciating",
     "The self depreciating flag of the object. If true, then the object's tree code handles depreciating "
     "(lowering) the value of the object over time. If false, then the simulator automatically handles "
     "depreciating the value, based on the Initial Depreciation, Daily Depreciation and Depreciation Limit "
     "properties.",
     K::Boolean, F::SelfDepreciating, "", true},
    {"Initial Depreciation",
     "The initial depreciation of the object, only used if Self Depreciating is false. The value of the object "
     "is lowered by this amount, the first day after you buy it.",
     K::Number, F::InitialDepreciation, "", true},
    {"Daily Depreciation",
     "The daily depreciation of the object, only used if Self Depreciating is false. The value of the object is "
     "lowered by this amount, every day after the first day you bought it.",
     K::Number, F::DailyDepreciation, "", true},
    {"Depreciation Limit",
     "The depreciation limit of the object, only used if Self Depreciating is false. The value of an object will "
     "not fall below this limit after you buy it.",
     K::Number, F::DepreciationLimit, "", true},
    {"Hunger Rating", "The hunger rating of the object.", K::Number, F::HungerRating, "", true},
    {"Comfort Rating", "The comfort rating of the object.", K::Number, F::ComfortRating, "", true},
    {"Hygiene Rating", "The hygiene rating of the object.", K::Number, F::HygieneRating, "", true},
    {"Bladder Rating", "The bladder rating of the object.", K::Number, F::BladderRating, "", true},
    {"Energy Rating", "The energy rating of the object.", K::Number, F::EnergyRating, "", true},
    {"Fun Rating", "The fun rating of the object.", K::Number, F::FunRating, "", true},
    {"Room Rating", "The room rating of the object.", K::Number, F::RoomRating, "", true},
    {"Rating Skill Flags", "The rating skill flags of the object.", K::Flags, F::RatingSkillFlags,
     "Cooking,Mechanical,Logic,Body,Creativity,Charisma,Study", true},
    {"GUID",
     "Globally Unique ID Number, that identifies this object, and should be different from the GUIDs of all "
     "other objects.",
     K::Number, F::Guid, "", true},
    {"Room Flags", "The room flags of the object. These categorize the object in the catalog by room type.",
     K::Flags, F::RoomFlags, "Kitchen,Bedroom,Bathroom,Family Room,Outside,Dining Room,Miscellaneous,Study", false},
    {"Function Flags", "The function flags of the object. These categorize the object in the catalog by function.",
     K::Flags, F::FunctionFlags, "Seating,Surfaces,Appliances,Electronics,Plumbing,Decorative,General,Lighting",
     false},
    {"Wall Style",
     "The wall style of the object, only used by windows and doors. This controls the hole the object punches in "
     "the wall.",
     K::Choice, F::WallStyle,
     "None,Normal,Door,French Door,Door Left,Door Right,Fence 1,Fence 2,Fence 3,Fence 4,Custom", true},
    {"Custom Wall Style ID", "The custom wall style id of the object, only used by windows and doors.", K::Number,
     F::CustomWallStyleId, "", true},
    {"Shadow",
     "The shadow code of the object. Used to control shape of shadows under multi tile objects. -1 for no "
     "shadow. 0 for default shadow. Bits for shadows of multi tile objects: NorthEast=1, NorthWest=2, "
     "SouthWest=4, SouthEast=8, North=16, West=32, South=64, East=128.",
     K::Number, F::Shadow, "", true},
    {"Shadow Flags", "The shadow flags the object.", K::Flags, F::ShadowFlags,
     "Thumbnail Has Shadow,Runtime Has Shadow (not used)", true},
    {"Shadow Brightness", "The shadow brightness of the object. 0 is normal. Larger is brighter.", K::Number,
     F::ShadowBrightness, "", true},
    {"Front Face Direction",
     "The front face direction of the object. The direction that should be considered the front, when placing "
     "the object.",
     K::Choice, F::FrontFaceDirection, "Front,Right,Back,Left", true},
    {"Chair Entry Flags",
     "The chair entry flags of the object, only used by chairs. Controls the directions from which people are "
     "allowed to enter the chair.",
     K::Flags, F::ChairEntryFlags, "Front,Front Right,Right,Back Right,Back,Back Left,Left,Front Left", true},
    {"Tile Width",
     "The tile width of the object. Should be even! Controls how close people can walk next to the object. The "
     "larger the wider, in 1/16 tile units.",
     K::Number, F::TileWidth, "", true},
    {"Footprint Inset Mask",
     "The footprint inset mask of the object, as a 4 digit (16 bit) hex number. 4 bit fields for North (0x000f), "
     "East (0x00f0), South (0x0f00) and West (0xf000). Each bit field contains a 4 bit number that is added to the "
     "inset of the corresponding edge, to extend the edges of the object out in 1/16 tile units.",
     K::Number, F::FootprintInsetMask, "", true},
    {"Misc Flags", "The misc flags of the object.", K::Flags, F::MiscFlags,
     "Hard to Click,Clear Attributes with Tutorial Reset", true},
    {"Build Mode Type",
     "The build mode type of the object, used by architectural objects like doors and windows. This categorizes "
     "the object in the build mode catalog.",
     K::Choice, F::BuildModeType, "None,Door,Window,Stair,Plants,Fireplace,Column,Roof,Pool", true},
    {"Disabled", "The disabled flag of the object. If true, the object won't show up in the catalog.", K::Boolean,
     F::Disabled, "", true},
};
static_assert(std::size(kRows) == PropertyTable::kRowCount);

} // namespace

PropertyTable::PropertyTable()
{
    rows_.reserve(std::size(kRows));
    for (const RowText& row : kRows)
        rows_.push_back({row.displayName, row.helpText, row.kind, row.field, row.names, row.advanced});
}

std::optional<size_t> PropertyTable::Find(std::string_view displayName) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].displayName == displayName)
            return i;
    return std::nullopt;
}

} // namespace zelvane
