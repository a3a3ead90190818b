#include "bake/PaletteQuantiser.h"

// Sections: the weighted space and the bins; cutting boxes; k-means; the
// nearest colour.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace zelvane {

namespace {

// ---- the weighted space and the bins ----

constexpr int kBinBits = 6;
constexpr int kDrop = 8 - kBinBits;
constexpr size_t kBinCount = size_t{1} << (3 * kBinBits);

using Point = std::array<float, 3>;

const std::array<float, 3>& Scale()
{
    static const std::array<float, 3> scale = {std::sqrt(PaletteQuantiser::kWeights[0]),
                                               std::sqrt(PaletteQuantiser::kWeights[1]),
                                               std::sqrt(PaletteQuantiser::kWeights[2])};
    return scale;
}

Point Weighted(float red, float green, float blue)
{
    const auto& s = Scale();
    return {red * s[0], green * s[1], blue * s[2]};
}

float Distance2(const Point& a, const Point& b)
{
    const float d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

size_t BinOf(Rgb c)
{
    return (static_cast<size_t>(c.red >> kDrop) << (2 * kBinBits)) | (static_cast<size_t>(c.green >> kDrop) << kBinBits) |
           static_cast<size_t>(c.blue >> kDrop);
}

struct Item {
    Point at;     // the bin's mean, weighted space
    double weight;
};

// ---- cutting boxes ----

struct Box {
    size_t begin = 0, end = 0; // items, sorted along `axis`
    double error = 0;          // weighted squared error about the mean
    size_t split = 0;          // where cutting leaves the least error; 0: cannot be cut
};

Point MeanOf(const std::vector<Item>& items, size_t begin, size_t end)
{
    double w = 0;
    std::array<double, 3> sum{};
    for (size_t i = begin; i < end; ++i) {
        w += items[i].weight;
        for (size_t c = 0; c < 3; ++c)
            sum[c] += items[i].weight * items[i].at[c];
    }
    return {static_cast<float>(sum[0] / w), static_cast<float>(sum[1] / w), static_cast<float>(sum[2] / w)};
}

// Sorts the box's items along its widest-spread axis and finds its error
// and best cut.
Box Measure(std::vector<Item>& items, size_t begin, size_t end)
{
    Box box{begin, end};
    const Point mean = MeanOf(items, begin, end);
    std::array<double, 3> spread{};
    for (size_t i = begin; i < end; ++i)
        for (size_t c = 0; c < 3; ++c) {
            const double d = items[i].at[c] - mean[c];
            spread[c] += items[i].weight * d * d;
        }
    box.error = spread[0] + spread[1] + spread[2];
    if (end - begin < 2 || box.error <= 0)
        return box;
    const auto axis = static_cast<size_t>(std::max_element(spread.begin(), spread.end()) - spread.begin());
    std::sort(items.begin() + static_cast<ptrdiff_t>(begin), items.begin() + static_cast<ptrdiff_t>(end),
              [axis](const Item& a, const Item& b) { return a.at[axis] < b.at[axis]; });
    // Error of a run = Σw·|p|² − |Σw·p|² / Σw; the cut minimises the sum of both runs'.
    double totalW = 0, totalQ = 0;
    std::array<double, 3> totalP{};
    for (size_t i = begin; i < end; ++i) {
        const Item& it = items[i];
        totalW += it.weight;
        for (size_t c = 0; c < 3; ++c) {
            totalP[c] += it.weight * it.at[c];
            totalQ += it.weight * it.at[c] * it.at[c];
        }
    }
    double w = 0, q = 0, best = std::numeric_limits<double>::infinity();
    std::array<double, 3> p{};
    for (size_t i = begin; i + 1 < end; ++i) {
        const Item& it = items[i];
        w += it.weight;
        for (size_t c = 0; c < 3; ++c) {
            p[c] += it.weight * it.at[c];
            q += it.weight * it.at[c] * it.at[c];
        }
        const double restW = totalW - w;
        const double left = q - (p[0] * p[0] + p[1] * p[1] + p[2] * p[2]) / w;
        const std::array<double, 3> r = {totalP[0] - p[0], totalP[1] - p[1], totalP[2] - p[2]};
        const double right = (totalQ - q) - (r[0] * r[0] + r[1] * r[1] + r[2] * r[2]) / restW;
        if (left + right < best) {
            best = left + right;
            box.split = i + 1;
        }
    }
    return box;
}

// ---- k-means ----

struct Cluster {
    double weight = 0;
    std::array<double, 3> sum{};
};

} // namespace

PaletteQuantiser::PaletteQuantiser() : bins_(kBinCount) {}

void PaletteQuantiser::Add(Rgb colour, float weight)
{
    if (!(weight > 0))
        return;
    Bin& bin = bins_[BinOf(colour)];
    bin.weight += weight;
    bin.sum[0] += static_cast<double>(weight) * colour.red;
    bin.sum[1] += static_cast<double>(weight) * colour.green;
    bin.sum[2] += static_cast<double>(weight) * colour.blue;
}

void PaletteQuantiser::Build(int colours, int refinements)
{
    colours_.clear();
    byGreen_.clear();
    colours = std::clamp(colours, 1, 256);
    std::vector<Item> items;
    for (const Bin& bin : bins_)
        if (bin.weight > 0)
            items.push_back({Weighted(static_cast<float>(bin.sum[0] / bin.weight),
                                      static_cast<float>(bin.sum[1] / bin.weight),
                                      static_cast<float>(bin.sum[2] / bin.weight)),
                             bin.weight});
    if (items.empty())
        return;

    std::vector<Box> boxes = {Measure(items, 0, items.size())};
    while (boxes.size() < static_cast<size_t>(colours)) {
        auto chosen = boxes.end();
        for (auto it = boxes.begin(); it != boxes.end(); ++it)
            if (it->split != 0 && (chosen == boxes.end() || it->error > chosen->error))
                chosen = it;
        if (chosen == boxes.end())
            break;
        const Box cut = *chosen;
        *chosen = Measure(items, cut.begin, cut.split);
        boxes.push_back(Measure(items, cut.split, cut.end));
    }
    std::vector<Point> centres;
    for (const Box& box : boxes)
        centres.push_back(MeanOf(items, box.begin, box.end));

    const auto& s = Scale();
    auto setColours = [&] {
        colours_.clear();
        for (const Point& c : centres)
            colours_.push_back({static_cast<uint8_t>(std::clamp(std::lround(c[0] / s[0]), 0L, 255L)),
                                static_cast<uint8_t>(std::clamp(std::lround(c[1] / s[1]), 0L, 255L)),
                                static_cast<uint8_t>(std::clamp(std::lround(c[2] / s[2]), 0L, 255L))});
        SortForSearch();
    };
    setColours();
    for (int round = 0; round < refinements; ++round) {
        std::vector<Cluster> clusters(centres.size());
        for (const Item& item : items) {
            const auto k = static_cast<size_t>(Nearest(item.at[0] / s[0], item.at[1] / s[1], item.at[2] / s[2]));
            clusters[k].weight += item.weight;
            for (size_t c = 0; c < 3; ++c)
                clusters[k].sum[c] += item.weight * item.at[c];
        }
        for (size_t k = 0; k < centres.size(); ++k)
            if (clusters[k].weight > 0)
                for (size_t c = 0; c < 3; ++c)
                    centres[k][c] = static_cast<float>(clusters[k].sum[c] / clusters[k].weight);
        setColours();
    }
}

// ---- the nearest colour ----

void PaletteQuantiser::SortForSearch()
{
    byGreen_.clear();
    for (size_t i = 0; i < colours_.size(); ++i) {
        const Rgb c = colours_[i];
        byGreen_.push_back({Weighted(c.red, c.green, c.blue), static_cast<int>(i)});
    }
    std::sort(byGreen_.begin(), byGreen_.end(), [](const Entry& a, const Entry& b) { return a.at[1] < b.at[1]; });
}

int PaletteQuantiser::Nearest(float red, float green, float blue) const
{
    const Point p = Weighted(red, green, blue);
    const auto start = std::lower_bound(byGreen_.begin(), byGreen_.end(), p[1],
                                        [](const Entry& e, float g) { return e.at[1] < g; });
    float best = std::numeric_limits<float>::infinity();
    int chosen = byGreen_.empty() ? 0 : byGreen_.front().index;
    auto consider = [&](const Entry& e) {
        const float d = Distance2(e.at, p);
        if (d < best || (d == best && e.index < chosen)) {
            best = d;
            chosen = e.index;
        }
    };
    for (auto it = start; it != byGreen_.end(); ++it) {
        const float g = it->at[1] - p[1];
        if (g * g > best)
            break;
        consider(*it);
    }
    for (auto it = start; it != byGreen_.begin();) {
        --it;
        const float g = p[1] - it->at[1];
        if (g * g > best)
            break;
        consider(*it);
    }
    return chosen;
}

} // namespace zelvane
