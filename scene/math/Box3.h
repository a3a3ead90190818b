#pragma once
// An axis-aligned box: the space an object takes, in its own units or in the
// scene's. Empty until a point is taken in.

#include "scene/math/Vector3.h"

#include <algorithm>

namespace zelvane {

struct Box3 {
    Vector3 low{1.0f, 1.0f, 1.0f};
    Vector3 high{-1.0f, -1.0f, -1.0f};

    static Box3 Spanning(const Vector3& a, const Vector3& b)
    {
        Box3 box;
        box.Include(a);
        box.Include(b);
        return box;
    }
    bool IsEmpty() const { return low.x > high.x || low.y > high.y || low.z > high.z; }
    void Include(const Vector3& p)
    {
        if (IsEmpty()) {
            low = high = p;
            return;
        }
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    void Include(const Box3& box)
    {
        if (!box.IsEmpty()) {
            Include(box.low);
            Include(box.high);
        }
    }
    Vector3 Centre() const { return (low + high) * 0.5f; }
    Vector3 Size() const { return high - low; }
    // Corner i (0 to 7): bit 0 picks x, bit 1 y, bit 2 z from high.
    Vector3 Corner(int i) const
    {
        return {(i & 1) ? high.x : low.x, (i & 2) ? high.y : low.y, (i & 4) ? high.z : low.z};
    }
};

} // namespace zelvane
