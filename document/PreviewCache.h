#pragma once
// Object previews composed on demand and kept while they fit a memory budget,
// the least recently asked for dropped first. The "Select Base Object" list
// asks only for what it shows, so a catalog of thousands of objects costs the
// previews of the few looked at, never the whole catalog's.

#include "objects/CObjectEntry.h"
#include "objects/PlainImage.h"

#include <cstddef>
#include <list>
#include <memory>
#include <unordered_map>

namespace zelvane {

class PreviewCache {
public:
    // Enough for dozens of large multi-tile previews.
    static constexpr size_t kDefaultBudget = size_t{24} << 20;

    explicit PreviewCache(size_t byteBudget = kDefaultBudget);

    // The preview of `object` as the list shows it: image 10 of its tiles on
    // white (ComposeObjectPreview), composed now unless it is kept. Never null;
    // what the object's sprites lack is left out of the picture, not refused.
    // The most recent preview is kept even when it alone exceeds the budget.
    std::shared_ptr<const PlainImage> Preview(const CObjectEntry& object);

    bool Holds(const CObjectEntry& object) const { return index_.count(&object) > 0; }
    // Pixel bytes of the previews kept.
    size_t HeldBytes() const { return heldBytes_; }
    size_t HeldCount() const { return entries_.size(); }
    size_t Budget() const { return budget_; }
    // Previews composed since the cache was made.
    size_t ComposedCount() const { return composed_; }
    void Clear();

private:
    struct Kept {
        const CObjectEntry* object;
        std::shared_ptr<const PlainImage> image;
        size_t bytes;
    };
    void Trim();

    size_t budget_;
    size_t heldBytes_ = 0;
    size_t composed_ = 0;
    std::list<Kept> entries_; // most recent first
    std::unordered_map<const CObjectEntry*, std::list<Kept>::iterator> index_;
};

// Composes the preview of `object` with its group members' tiles, image 10
// on white.
PlainImage ComposeListPreview(const CObjectEntry& object);

} // namespace zelvane
