#include "interaction/StatusReadout.h"

#include "scene/COGLObject.h"
#include "scene/COGLViewport3D.h"

#include <algorithm>
#include <cstdio>

namespace zelvane {

namespace {

constexpr float kLargestZoomPercent = 10000.0f;

template <typename... Values>
std::string Format(const char* format, Values... values)
{
    char text[160];
    std::snprintf(text, sizeof text, format, static_cast<double>(values)...);
    return text;
}

std::string Triple(const Vector3& v)
{
    return Format("X %3.3f, Y %3.3f, Z %3.3f", v.x, v.y, v.z);
}

std::string Pair(const Vector3& v)
{
    return Format("X %3.3f, Y %3.3f", v.x, v.y);
}

} // namespace

std::string StatusReadout(Tool tool, const SelectedItem& selection, const COGLObject* target,
                          const COGLViewport3D& viewport, float rotationTotal)
{
    const COGLObject* selected = target;
    const COGLCamera3D& camera = viewport.Camera();
    switch (tool) {
    case Tool::Move:
        if (target)
            return Triple(target->Position());
        break;
    case Tool::Rotate:
        if (!selection.IsEmpty())
            return Format("Angle %3.0f", rotationTotal);
        break;
    case Tool::Scale:
        if (selected)
            return Triple(selected->GetScale());
        break;
    case Tool::Pan:
        return Triple(camera.GetCenter());
    case Tool::Orbit:
        return Format("A %3.3f, E %3.3f, T %3.3f", camera.Azimuth(), camera.Elevation(), camera.Roll());
    case Tool::Zoom:
        // A distance of 0 gives an infinite percentage, which min also caps.
        return Format("Zoom %3.3f", std::min(camera.GetZoomPercent(), kLargestZoomPercent));
    case Tool::TextureMove:
        if (selected)
            return Pair(selected->TextureOffset());
        break;
    case Tool::TextureScale:
        if (selected)
            return Pair(selected->TextureScale());
        break;
    case Tool::TextureRotate:
        if (selected)
            return Format("%3.3f", selected->TextureRotation().z);
        break;
    case Tool::FieldOfView:
        return Format("FOV %3.3f", viewport.FieldOfView());
    case Tool::Select:
        break;
    }
    return kEmptyReadout;
}

} // namespace zelvane
