#include "scene/ZoomPreset.h"

namespace zelvane {

void ApplyZoomPreset(ZoomPreset preset, COGLCamera& camera)
{
    float distance = 0.0f;
    switch (preset) {
    case ZoomPreset::Free:
        return;
    case ZoomPreset::Near:
        distance = 3.625f;
        break;
    case ZoomPreset::Medium:
        distance = 7.25f;
        break;
    case ZoomPreset::Far:
        distance = 14.5f;
        break;
    }
    camera.SetDistance(distance);
    camera.MarkDirty();
}

} // namespace zelvane
