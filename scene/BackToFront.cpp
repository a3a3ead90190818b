#include "scene/BackToFront.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <numeric>

namespace zelvane {

namespace {

// The exchange sort itself, for distances that are not all comparable (NaN).
// Entry i only changes by swaps within its own pass, so it is carried in a
// local while the pass walks on.
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

// Counts over ranks 0..n-1: add one, and how many were added below a rank.
class RankCounter {
public:
    explicit RankCounter(std::size_t n) : tree_(n + 1, 0) {}
    void Add(std::size_t rank)
    {
        for (std::size_t i = rank + 1; i < tree_.size(); i += i & (~i + 1))
            ++tree_[i];
    }
    std::size_t CountBelow(std::size_t rank) const
    {
        std::size_t count = 0;
        for (std::size_t i = rank; i > 0; i -= i & (~i + 1))
            count += tree_[i];
        return count;
    }

private:
    std::vector<std::size_t> tree_;
};

} // namespace

// Why this gives the exchange sort's order. Each pass i carries the entry at
// i forward and swaps it for every strictly farther entry it meets, so the
// chain of those entries moves one step along, and the farthest entry (the
// first of equal farthest ones) lands at i. Take the entries of one distance
// d and look only at the entries at least as far: the nearer ones never
// decide anything about them. Such an entry of distance d can only move when
// it is the first of those entries, and it then moves past the entries of
// distance d right behind it to the place of the first farther entry. Cut
// the entries of distance d, in the list's order, into runs R0, R1, ... by
// how many farther entries come before them; every pass that places a
// farther entry then turns the front run by one (its first entry to its end)
// and joins the next run behind it. Once all farther entries are placed, the
// entries of distance d are placed in the order that leaves.
std::vector<std::size_t> BackToFrontOrder(std::span<const float> distances)
{
    const std::size_t n = distances.size();
    if (std::any_of(distances.begin(), distances.end(), [](float d) { return std::isnan(d); }))
        return ExchangeSort(distances);

    // Farthest first; ranks number the distinct distances from the farthest.
    std::vector<std::size_t> byDistance(n);
    std::iota(byDistance.begin(), byDistance.end(), std::size_t{0});
    std::stable_sort(byDistance.begin(), byDistance.end(),
                     [&](std::size_t a, std::size_t b) { return distances[a] > distances[b]; });
    std::vector<std::size_t> rank(n);
    std::vector<std::size_t> groupStart; // where each rank begins in byDistance
    for (std::size_t k = 0; k < n; ++k) {
        if (k == 0 || distances[byDistance[k]] != distances[byDistance[k - 1]])
            groupStart.push_back(k);
        rank[byDistance[k]] = groupStart.size() - 1;
    }
    groupStart.push_back(n);

    // For each entry, how many farther entries come before it in the list.
    std::vector<std::size_t> fartherBefore(n);
    RankCounter counter(groupStart.size());
    for (std::size_t k = 0; k < n; ++k) {
        fartherBefore[k] = counter.CountBelow(rank[k]);
        counter.Add(rank[k]);
    }

    std::vector<std::size_t> order;
    order.reserve(n);
    for (std::size_t g = 0; g + 1 < groupStart.size(); ++g) {
        const std::size_t first = groupStart[g];
        const std::size_t size = groupStart[g + 1] - first;
        if (size == 1) {
            order.push_back(byDistance[first]);
            continue;
        }
        // The stable sort kept the group in list order. Every entry farther
        // than this group is placed in one pass each: `first` passes.
        std::deque<std::size_t> front;
        std::size_t passesDone = 0;
        const auto turn = [&](std::size_t passes) {
            // Turning a run of s entries s times changes nothing.
            if (front.size() > 1)
                for (std::size_t t = passes % front.size(); t > 0; --t) {
                    front.push_back(front.front());
                    front.pop_front();
                }
        };
        for (std::size_t k = first; k < first + size;) {
            const std::size_t run = fartherBefore[byDistance[k]];
            turn(run - passesDone);
            passesDone = run;
            for (; k < first + size && fartherBefore[byDistance[k]] == run; ++k)
                front.push_back(byDistance[k]);
        }
        turn(first - passesDone);
        order.insert(order.end(), front.begin(), front.end());
    }
    return order;
}

} // namespace zelvane
