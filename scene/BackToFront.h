#pragma once
// The order in which the scene draws its objects: farthest from the camera
// first, so that transparent objects blend over what lies behind them.

#include <cstddef>
#include <span>
#include <vector>

namespace zelvane {

// Indices of `distances` farthest first, in exactly the order of the
// exchange sort the scene has always used: for i from 0, for j from i on, swap
// entries i and j when i's distance is less than j's. Equal distances are
// never swapped with each other, but one can pass another when it is swapped
// with a farther entry: distances 3, 3, 9 give the order 2, 1, 0.
//
// Distinct distances (the usual case) have only one such order and are sorted
// in O(n log n); equal or NaN distances fall back to the exchange sort itself.
std::vector<std::size_t> BackToFrontOrder(std::span<const float> distances);

} // namespace zelvane
