#pragma once
// A stand-in for the view the panels work with: it holds a scene, a cage
// size and a zoom preset, and counts its redraws.

#include "document/IPanelView.h"
#include "scene/COGLScene.h"

namespace zelvane::test {

class TestPanelView final : public IPanelView {
public:
    COGLScene* Scene() override { return &scene; }
    CageSize GetCageSize() const override { return cage; }
    void SetCageSize(const CageSize& size) override { cage = size; }
    ZoomPreset GetZoomPreset() const override { return zoom; }
    void SetZoomPreset(ZoomPreset preset) override { zoom = preset; }
    void Redraw() override { ++redraws; }

    COGLScene scene;
    CageSize cage;
    ZoomPreset zoom = ZoomPreset::Medium;
    int redraws = 0;
};

} // namespace zelvane::test
