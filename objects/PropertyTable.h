#pragma once
// The fixed table of the 31 properties the property editor shows, in their
// fixed order.

#include "objects/PropertyDescriptor.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace zelvane {

class PropertyTable {
public:
    static constexpr size_t kRowCount = 31;

    // Builds the rows in their fixed order.
    PropertyTable();

    size_t Size() const { return rows_.size(); }
    const PropertyDescriptor& Row(size_t index) const { return rows_.at(index); }
    const std::vector<PropertyDescriptor>& Rows() const { return rows_; }
    // The row with this display name (exact match).
    std::optional<size_t> Find(std::string_view displayName) const;

private:
    std::vector<PropertyDescriptor> rows_;
};

} // namespace zelvane
