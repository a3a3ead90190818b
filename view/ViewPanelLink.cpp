#include "view/ViewPanelLink.h"

#include "view/COGLView.h"

namespace zelvane {

COGLScene* ViewPanelLink::Scene()
{
    return view_.Scene();
}

CageSize ViewPanelLink::GetCageSize() const
{
    return view_.Viewport().CageDimensions();
}

void ViewPanelLink::SetCageSize(const CageSize& size)
{
    view_.Viewport().SetCageSize(size);
}

ZoomPreset ViewPanelLink::GetZoomPreset() const
{
    return view_.Tools().CurrentZoomPreset();
}

void ViewPanelLink::SetZoomPreset(ZoomPreset preset)
{
    view_.Tools().SetZoomPreset(preset);
}

void ViewPanelLink::Redraw()
{
    view_.update();
}

} // namespace zelvane
