#include "scene/BackToFront.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zelvane {

namespace {

// The exchange sort itself. Entry i only changes by swaps within its own
// pass, so it is carried in a local while the pass walks on; distances travel
// with their indices to keep the walk on contiguous memory.
std::vector<std::size_t> ExchangeSort(std::span<const float> distances)
{
    struct Entry {
        float distance;
        std::size_t index;
    };
    std::vector<Entry> entries(distances.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
        entries[k] = {distances[k], k};
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        Entry carried = entries[i];
        for (std::size_t j = i + 1; j < entries.size(); ++j)
            if (carried.distance < entries[j].distance)
                std::swap(carried, entries[j]);
        entries[i] = carried;
    }
    std::vector<std::size_t> order(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
        order[k] = entries[k].index;
    return order;
}

} // namespace

std::vector<std::size_t> BackToFrontOrder(std::span<const float> distances)
{
    if (std::any_of(distances.begin(), distances.end(), [](float d) { return std::isnan(d); }))
        return ExchangeSort(distances);
    std::vector<std::size_t> order(distances.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return distances[a] > distances[b]; });
    for (std::size_t k = 1; k < order.size(); ++k)
        if (distances[order[k - 1]] == distances[order[k]])
            return ExchangeSort(distances);
    return order;
}

} // namespace zelvane
