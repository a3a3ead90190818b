#pragma once
// The 3-D viewport: an orthographic view through the orbiting camera, with the
// floor grid and the footprint cage in wireframe mode and the axis marker in
// the lower-left corner.

#include "scene/COGLViewport.h"

namespace zelvane {

// The orthographic view volume of a viewport: half-height `distance` when it
// is wider than high, else half-width `distance`; far plane 10000 when wider
// than high, else 1000 (1000 always when picking).
struct OrthoVolume {
    double left, right, bottom, top, nearPlane, farPlane;

    static OrthoVolume Of(int width, int height, float distance, bool picking);
    friend bool operator==(const OrthoVolume&, const OrthoVolume&) = default;
};

class COGLViewport3D : public COGLViewport {
public:
    COGLViewport3D() = default;

    void Draw(COGLScene& scene) override;
    void DrawForPicking(double x, double y, COGLScene& scene) override;
    bool IsTwoDimensional() const override { return false; }
    // A 15 × 15 grid of unit squares on y = 0, centred on the origin.
    void DrawGrid() override;
    void Fill(const ColourRGB& colour) override;

    // The cage's open-topped box, blue, standing on y = 0, centred in x and z.
    void DrawCage();
    // Red x, green y and blue z lines with their letters, near the lower-left
    // corner, turning with the camera.
    void DrawAxisMarker();

    // The pick region's side in pixels.
    static constexpr double kPickRegion = 5.0;

private:
    void ApplyRenderStates(COGLScene& scene) const;
    void LoadProjection(bool picking) const;
};

} // namespace zelvane
