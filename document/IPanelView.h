#pragma once
// What the object and mesh panels need of the view they edit for: its scene,
// its footprint cage size and zoom preset, and a redraw. The editor's view
// provides it; tests provide their own.

#include "scene/COGLViewport.h"
#include "scene/ZoomPreset.h"

namespace zelvane {

class COGLScene;

class IPanelView {
public:
    virtual ~IPanelView();

    // The scene the view shows; null before its first initial update.
    virtual COGLScene* Scene() = 0;

    virtual CageSize GetCageSize() const = 0;
    virtual void SetCageSize(const CageSize& size) = 0;
    virtual ZoomPreset GetZoomPreset() const = 0;
    virtual void SetZoomPreset(ZoomPreset preset) = 0;

    // Draws the scene again soon (the view invalidates itself).
    virtual void Redraw() = 0;
};

} // namespace zelvane
