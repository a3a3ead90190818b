#include "resfile/IffIndex.h"

#include <algorithm>

namespace zelvane {

IffTypeGroup* IffIndex::FindGroup(ResType type)
{
    auto it = std::find_if(groups.begin(), groups.end(), [type](const IffTypeGroup& g) { return g.type == type; });
    return it == groups.end() ? nullptr : &*it;
}

const IffTypeGroup* IffIndex::FindGroup(ResType type) const
{
    return const_cast<IffIndex*>(this)->FindGroup(type);
}

bool IffIndex::RemoveGroup(ResType type)
{
    auto it = std::find_if(groups.begin(), groups.end(), [type](const IffTypeGroup& g) { return g.type == type; });
    if (it == groups.end())
        return false;
    groups.erase(it);
    return true;
}

size_t IffIndex::EntryCount() const
{
    size_t count = 0;
    for (const IffTypeGroup& group : groups)
        count += group.entries.size();
    return count;
}

} // namespace zelvane
