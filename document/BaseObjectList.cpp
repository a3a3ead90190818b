#include "document/BaseObjectList.h"

#include "objects/CObjectFile.h"
#include "objects/CatalogStrings.h"
#include "objects/ObjectCatalog.h"
#include "resfile/PathUtil.h"

#include <algorithm>

namespace zelvane {

BaseObjectList::BaseObjectList(const ObjectCatalog& catalog)
{
    const std::vector<CObjectEntry*> listed = catalog.ListedObjects();
    items_.reserve(listed.size());
    for (CObjectEntry* entry : listed)
        items_.push_back({entry, AsciiLower(entry->ResourceName()), std::nullopt});
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return a.foldedName < b.foldedName; });
    shown_.resize(items_.size());
    for (size_t i = 0; i < shown_.size(); ++i)
        shown_[i] = i;
    if (!shown_.empty())
        selected_ = 0;
}

std::optional<size_t> BaseObjectList::RowOf(const CObjectEntry* entry) const
{
    for (size_t row = 0; row < shown_.size(); ++row)
        if (items_[shown_[row]].entry == entry)
            return row;
    return std::nullopt;
}

bool BaseObjectList::Matches(Item& item, std::string_view foldedFilter)
{
    if (item.foldedName.find(foldedFilter) != std::string::npos)
        return true;
    if (!item.foldedCatalog) {
        // Unreadable strings have no name to match (not "[Name not defined.]").
        const CatalogStrings strings = ReadCatalogStrings(item.entry->Owner().Container(), item.entry->Definition());
        item.foldedCatalog = strings.readable ? AsciiLower(strings.name) : std::string();
    }
    return item.foldedCatalog->find(foldedFilter) != std::string::npos;
}

void BaseObjectList::SetFilter(std::string_view text)
{
    const CObjectEntry* selected = selected_ ? &EntryAt(*selected_) : nullptr;
    filter_ = text;
    const std::string folded = AsciiLower(text);
    shown_.clear();
    for (size_t i = 0; i < items_.size(); ++i)
        if (folded.empty() || Matches(items_[i], folded))
            shown_.push_back(i);
    selected_ = RowOf(selected);
    if (!selected_ && !shown_.empty())
        selected_ = 0;
}

void BaseObjectList::Select(std::optional<size_t> row)
{
    selected_ = row && *row < shown_.size() ? row : std::nullopt;
}

CObjectEntry* BaseObjectList::Chosen() const
{
    if (shown_.empty())
        return nullptr;
    return &EntryAt(selected_.value_or(0));
}

} // namespace zelvane
