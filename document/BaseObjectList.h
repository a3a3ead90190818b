#pragma once
// What the "Select Base Object" list shows: every listed object of the
// catalog by resource name, sorted as a sorted list box sorts (letter case
// ignored; equal names keep catalog order, each still tied to its own object),
// narrowed by a filter, with the selection and the object OK would clone.

#include "objects/CObjectEntry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

class ObjectCatalog;

class BaseObjectList {
public:
    explicit BaseObjectList(const ObjectCatalog& catalog);

    // Every object of the catalog's lists.
    size_t TotalCount() const { return items_.size(); }

    // The rows the filter lets through, in list order.
    size_t RowCount() const { return shown_.size(); }
    CObjectEntry& EntryAt(size_t row) const { return *items_[shown_[row]].entry; }
    const std::string& NameAt(size_t row) const { return items_[shown_[row]].entry->ResourceName(); }
    std::optional<size_t> RowOf(const CObjectEntry* entry) const;

    // Shows only the objects whose resource name or catalog name holds `text`,
    // letter case ignored (ASCII letters; other bytes must match exactly); an
    // empty text shows all. The catalog names are read from the object files
    // the first time a filter needs them. The selected object stays selected
    // when it is still shown; otherwise the first row is.
    void SetFilter(std::string_view text);
    const std::string& Filter() const { return filter_; }

    // Selects `row`; a row outside the list selects nothing.
    void Select(std::optional<size_t> row);
    std::optional<size_t> SelectedRow() const { return selected_; }
    // The object OK clones and the preview shows: the selected one, or the
    // first row when none is selected; null when nothing is listed.
    CObjectEntry* Chosen() const;

private:
    struct Item {
        CObjectEntry* entry;
        std::string foldedName;                   // the resource name, ASCII letters in lower case
        std::optional<std::string> foldedCatalog; // read on demand; empty when unreadable
    };
    bool Matches(Item& item, std::string_view foldedFilter);

    std::vector<Item> items_;
    std::vector<size_t> shown_;
    std::string filter_;
    std::optional<size_t> selected_;
};

} // namespace zelvane
