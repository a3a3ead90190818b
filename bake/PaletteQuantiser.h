#pragma once
// Chooses the colours of one palette for a set of weighted colours (every
// drawn pixel of an object's twelve images, weighted by its coverage), and
// finds the nearest of them for any colour.
//
// Distances are measured in a "perceptual-ish" space: red, green and blue
// weighted 2 : 4 : 3 (the eye tells greens apart best and reds least), so a
// shading ramp in green gets more entries than one in red.
//
// Colours are first counted in bins of 6 bits a channel, each bin keeping
// the weighted sum of its exact colours. The bins are then cut into boxes,
// always the box with the largest weighted squared error, along its
// widest-spread axis at the place that leaves the least error on both sides
// (variance-based median cut); each box's mean is a palette colour. A few
// rounds of k-means over the bins then move every colour to the mean of the
// bins nearest to it.

#include "objects/Palette.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zelvane {

class PaletteQuantiser {
public:
    PaletteQuantiser();

    // Counts a colour; weights of 0 or less count nothing.
    void Add(Rgb colour, float weight);

    // Chooses at most `colours` colours (1 to 256; fewer when fewer distinct
    // colours were added, none when nothing was).
    void Build(int colours, int refinements = 6);
    const std::vector<Rgb>& Colours() const { return colours_; }

    // The index in Colours() of the colour nearest to (red, green, blue),
    // which may lie outside 0 to 255 (dithering carries errors). Colours()
    // must not be empty.
    int Nearest(float red, float green, float blue) const;

    // The channel weights of the distance.
    static constexpr std::array<float, 3> kWeights = {2.0f, 4.0f, 3.0f};

private:
    struct Bin {
        double weight = 0;
        std::array<double, 3> sum{};
    };
    void SortForSearch();

    std::vector<Bin> bins_;
    std::vector<Rgb> colours_;
    // The colours in the weighted space, sorted by their green coordinate,
    // with their index in colours_: the nearest search starts at the
    // colour's green and stops once green alone is farther than the best.
    struct Entry {
        std::array<float, 3> at;
        int index;
    };
    std::vector<Entry> byGreen_;
};

} // namespace zelvane
