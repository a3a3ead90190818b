#pragma once
// The view's zoom presets: each sets the camera's distance before a frame is
// drawn; free zoom leaves the camera as the zoom tool put it.

#include "scene/COGLCamera.h"

#include <cstdint>

namespace zelvane {

enum class ZoomPreset : std::int32_t { Free = 0, Near = 1, Medium = 2, Far = 3 };

// Near 3.625, medium 7.25, far 14.5 (each marking the camera changed); free
// changes nothing.
void ApplyZoomPreset(ZoomPreset preset, COGLCamera& camera);

} // namespace zelvane
