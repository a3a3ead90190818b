#include "resfile/IffClaims.h"

#include <iterator>

namespace zelvane {

void IffClaims::Clear()
{
    depth_.clear();
    entries_.clear();
}

void IffClaims::ClaimForEntry(ResType type, uint32_t offset, uint64_t end)
{
    if (end <= offset)
        return;
    entries_.emplace(std::make_pair(offset, type), end);
    Adjust(offset, end, +1);
}

void IffClaims::ClaimForSession(uint64_t begin, uint64_t end)
{
    Adjust(begin, end, +1);
}

void IffClaims::ReleaseEntry(ResType type, uint32_t offset, ClaimRelease release)
{
    const auto it = entries_.find({offset, type});
    if (it == entries_.end())
        return;
    if (release == ClaimRelease::FreeBytes)
        Adjust(offset, it->second, -1);
    entries_.erase(it);
}

bool IffClaims::HasEntry(ResType type, uint32_t offset) const
{
    return entries_.count({offset, type}) != 0;
}

bool IffClaims::AnyIn(uint64_t begin, uint64_t end) const
{
    if (begin >= end)
        return false;
    auto it = depth_.upper_bound(begin);
    if (it != depth_.begin() && std::prev(it)->second != 0)
        return true;
    for (; it != depth_.end() && it->first < end; ++it)
        if (it->second != 0)
            return true;
    return false;
}

bool IffClaims::OnceEach(uint64_t begin, uint64_t end) const
{
    if (begin >= end)
        return true;
    auto it = depth_.upper_bound(begin);
    if (it == depth_.begin() || std::prev(it)->second != 1)
        return false;
    for (; it != depth_.end() && it->first < end; ++it)
        if (it->second != 1)
            return false;
    return true;
}

uint64_t IffClaims::End() const
{
    // The last key always closes a run: its count is 0.
    return depth_.empty() ? 0 : depth_.rbegin()->first;
}

void IffClaims::Adjust(uint64_t begin, uint64_t end, int32_t delta)
{
    if (begin >= end)
        return;
    auto boundary = [this](uint64_t at) {
        auto it = depth_.lower_bound(at);
        if (it != depth_.end() && it->first == at)
            return it;
        const uint32_t carried = it == depth_.begin() ? 0 : std::prev(it)->second;
        return depth_.emplace_hint(it, at, carried);
    };
    const auto first = boundary(begin);
    const auto last = boundary(end);
    for (auto it = first; it != last; ++it)
        it->second = static_cast<uint32_t>(static_cast<int64_t>(it->second) + delta);
    // Only the two ends can now repeat the count before them.
    for (uint64_t at : {end, begin}) {
        const auto it = depth_.find(at);
        const uint32_t before = it == depth_.begin() ? 0 : std::prev(it)->second;
        if (it->second == before)
            depth_.erase(it);
    }
}

} // namespace zelvane
