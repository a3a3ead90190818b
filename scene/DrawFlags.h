#pragma once
// The bit set every Draw receives. The viewport passes its display mode word
// unchanged, so the two modes are also the two values it takes.

#include <cstdint>

namespace zelvane {

using DrawFlags = std::uint32_t;

// Materials and textures are applied.
inline constexpr DrawFlags kDrawShaded = 0x0001;
// The wireframe display lists are used.
inline constexpr DrawFlags kDrawWireframe = 0x0020;
// Each object also draws its three axis markers.
inline constexpr DrawFlags kDrawAxisMarkers = 0x1000;

// The viewport's display modes.
inline constexpr DrawFlags kDisplayWireframe = 0x20;
inline constexpr DrawFlags kDisplayShaded = 0x81;

} // namespace zelvane
