#pragma once
// The font record a text object keeps and scene files store: the family's
// face name and the italic flag. Which file draws it is looked up from the
// name each time the letters are built.

#include <cstdint>
#include <string>

namespace zelvane {

struct LogicalFont {
    // At most 31 characters (FontCatalog::kLongestFaceName).
    std::string faceName = "Arial";
    // Any value but 0 asks for italic letters; kept as stored.
    std::uint8_t italic = 0;

    friend bool operator==(const LogicalFont&, const LogicalFont&) = default;
};

} // namespace zelvane
