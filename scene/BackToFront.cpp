#include "scene/BackToFront.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zelvane {

namespace {

std::vector<std::size_t> ExchangeSort(std::span<const float> distances)
{
    std::vector<std::size_t> order(distances.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        for (std::size_t j = i; j < order.size(); ++j)
            if (distances[order[i]] < distances[order[j]])
                std::swap(order[i], order[j]);
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
