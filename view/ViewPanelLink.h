#pragma once
// What the object bar's panels need of the editor's view, taken from it: the
// view's scene, the viewport's cage size, the tools' zoom preset, a repaint.

#include "document/IPanelView.h"

namespace zelvane {

class COGLView;

class ViewPanelLink final : public IPanelView {
public:
    explicit ViewPanelLink(COGLView& view) : view_(view) {}

    COGLScene* Scene() override;
    CageSize GetCageSize() const override;
    void SetCageSize(const CageSize& size) override;
    ZoomPreset GetZoomPreset() const override;
    void SetZoomPreset(ZoomPreset preset) override;
    void Redraw() override;

private:
    COGLView& view_;
};

} // namespace zelvane
