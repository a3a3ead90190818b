// Property values as people read and type them on the command line.

#include "objects/PropertyTable.h"
#include "objects/PropertyText.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

const PropertyDescriptor& Row(std::string_view name)
{
    static const PropertyTable table;
    return table.Row(table.Find(name).value());
}

// The value `text` parses to, or the reason it does not.
std::string Parsed(std::string_view row, std::string_view text)
{
    std::string why;
    const std::optional<PropertyValue> value = ParsePropertyValue(Row(row), text, why);
    return value ? value->AsText() : "refused: " + why;
}

TEST(PropertyText, FlagsAndChoicesReadAndTypeByTheirNames)
{
    EXPECT_EQ(PropertyValueText(Row("Room Flags"), PropertyValue::FromInteger(1 + 128)), "Kitchen,Study");
    EXPECT_EQ(PropertyValueText(Row("Room Flags"), PropertyValue::FromInteger(0)), "");
    EXPECT_EQ(PropertyValueText(Row("Wall Style"), PropertyValue::FromInteger(2)), "Door");
    EXPECT_EQ(PropertyValueText(Row("Wall Style"), PropertyValue::FromInteger(40)), "40") << "a choice naming no item";

    EXPECT_EQ(Parsed("Room Flags", "Kitchen,Study"), "129");
    EXPECT_EQ(Parsed("Room Flags", ""), "0") << "no names clear every flag";
    EXPECT_EQ(Parsed("Room Flags", "0x81"), "129");
    EXPECT_EQ(Parsed("Room Flags", "129"), "129");
    EXPECT_EQ(Parsed("Room Flags", "Kitchen,Garage"),
              "refused: 'Garage' is not one of: Kitchen,Bedroom,Bathroom,Family Room,Outside,Dining Room,"
              "Miscellaneous,Study");
    EXPECT_EQ(Parsed("Room Flags", "Kitchen,"), "refused: '' is not one of: " + Row("Room Flags").names);
    EXPECT_EQ(Parsed("Room Flags", "12abc"), "refused: '12abc' is not a number");
    EXPECT_EQ(Parsed("Room Flags", "99999999999"), "refused: '99999999999' is not a number");

    EXPECT_EQ(Parsed("Wall Style", "French Door"), "3");
    EXPECT_EQ(Parsed("Wall Style", "-1"), "-1");
    EXPECT_EQ(Parsed("Wall Style", "Door,Normal"), "refused: a choice takes one name, not several");
    EXPECT_EQ(Parsed("Wall Style", ""), "refused: a choice takes one of: " + Row("Wall Style").names);
}

TEST(PropertyText, NumbersBooleansAndTextsAreCheckedByTheirKind)
{
    // Within the field's range, or refused with the range.
    EXPECT_EQ(Parsed("Price", "32767"), "32767");
    EXPECT_EQ(Parsed("Price", "70000"), "refused: 70000 is out of range; Price takes whole numbers from 0 to 32767");
    EXPECT_EQ(Parsed("Price", "-5"), "refused: -5 is out of range; Price takes whole numbers from 0 to 32767");
    EXPECT_EQ(Parsed("Price", "12abc"),
              "refused: \"12abc\" is not a whole number; Price takes whole numbers from 0 to 32767");
    EXPECT_EQ(Parsed("Price", ""), "refused: \"\" is not a whole number; Price takes whole numbers from 0 to 32767");
    EXPECT_EQ(Parsed("Shadow", "-1"), "-1");
    EXPECT_EQ(Parsed("Footprint Inset Mask", "65535"), "65535") << "the mask's 16 bits either way";
    EXPECT_EQ(Parsed("GUID", "4294967295"), "4294967295");
    EXPECT_EQ(Parsed("GUID", "-2147483649"),
              "refused: -2147483649 is out of range; GUID takes whole numbers from -2147483648 to 4294967295");
    EXPECT_EQ(Parsed("Disabled", "yes"), "1");
    EXPECT_EQ(Parsed("Disabled", "false"), "0");
    EXPECT_EQ(Parsed("Disabled", "2"), "refused: a Boolean is 0 or 1");
    EXPECT_EQ(Parsed("Name", " Any text, 12abc "), " Any text, 12abc ");
}

} // namespace
} // namespace zelvane
