#pragma once
// The sizes every primitive kind's display lists are built with.

namespace zelvane::shapes {

inline constexpr int kSphereSlices = 16;
inline constexpr int kSphereStacks = 16;
inline constexpr float kSphereRadius = 1.0f;

// Cylinder and rod: a tube of radius 0.1 and height 2 (the cylinder capped).
inline constexpr float kTubeRadius = 0.1f;
inline constexpr float kTubeHeight = 2.0f;
inline constexpr int kTubeSlices = 20;

// Cone: from a point at z = 0 to radius 0.5 at z = 2, capped there.
inline constexpr float kConeRadius = 0.5f;

inline constexpr float kDiskRadius = 1.0f;
inline constexpr int kDiskSlices = 20;

// The tessellated plane: 24 × 24 squares over [−1, 1]².
inline constexpr int kGridHalfCells = 12;

} // namespace zelvane::shapes
