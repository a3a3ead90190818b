#include "document/PreviewCache.h"

#include "objects/CObjectFile.h"
#include "objects/ObjectPreview.h"
#include "objects/PreviewTile.h"

#include <span>
#include <vector>

namespace zelvane {

PlainImage ComposeListPreview(const CObjectEntry& object)
{
    std::vector<std::span<const uint8_t>> members;
    members.reserve(object.Members().size());
    for (const CObjectEntry* member : object.Members())
        members.push_back(member->Definition().Bytes());
    const std::vector<PreviewTile> tiles = PreviewTilesOf(object.Definition().Bytes(), members);
    // What could not be drawn (preview.notes) is simply missing from the
    // picture: a list of previews is no place to report damaged sprites.
    return std::move(ComposeObjectPreview(object.Owner().Container(), tiles).colour);
}

PreviewCache::PreviewCache(size_t byteBudget) : budget_(byteBudget) {}

std::shared_ptr<const PlainImage> PreviewCache::Preview(const CObjectEntry& object)
{
    if (const auto found = index_.find(&object); found != index_.end()) {
        entries_.splice(entries_.begin(), entries_, found->second);
        return found->second->image;
    }
    auto image = std::make_shared<const PlainImage>(ComposeListPreview(object));
    ++composed_;
    const size_t bytes = image->Bits().size();
    entries_.push_front({&object, image, bytes});
    index_.emplace(&object, entries_.begin());
    heldBytes_ += bytes;
    Trim();
    return image;
}

void PreviewCache::Trim()
{
    while (heldBytes_ > budget_ && entries_.size() > 1) {
        const Kept& oldest = entries_.back();
        heldBytes_ -= oldest.bytes;
        index_.erase(oldest.object);
        entries_.pop_back();
    }
}

void PreviewCache::Clear()
{
    entries_.clear();
    index_.clear();
    heldBytes_ = 0;
}

} // namespace zelvane
