#pragma once
// A property's value as text that people read and type: flags and choices by
// their names ("Kitchen,Study", "Door"), Booleans as 0 or 1, numbers and
// texts as the editor shows them. The command line's props and set read and
// write values this way; so does any dialog that shows or takes a value as
// text.

#include "objects/PropertyDescriptor.h"
#include "objects/PropertyValue.h"

#include <optional>
#include <string>
#include <string_view>

namespace zelvane {

// The names of the selected flags, comma-separated (empty when none), or the
// name of the chosen item (its number when it names none); every other kind
// as the editor shows it.
std::string PropertyValueText(const PropertyDescriptor& row, const PropertyValue& value);

// A value typed as text, checked against its row:
//  - flags: names separated by commas (an empty text clears every flag), or
//    the whole word as a number (decimal, or hexadecimal after "0x");
//  - a choice: one name, or its number;
//  - a Boolean: 1, true or yes; 0, false or no;
//  - a number: a decimal integer with an optional sign, within the field's
//    range (PropertyDescriptor::WhyNotANumber);
//  - text: as it is.
// None, with the reason in `why`, for anything else.
std::optional<PropertyValue> ParsePropertyValue(const PropertyDescriptor& row, std::string_view text,
                                                std::string& why);

} // namespace zelvane
