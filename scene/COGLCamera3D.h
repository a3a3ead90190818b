#pragma once
// The orbiting camera of the 3-D viewport: a roll, an elevation and an azimuth
// about the point −center, seen from `distance` away, with five presets.

#include "scene/COGLCamera.h"

namespace zelvane {

class COGLCamera3D : public COGLCamera {
public:
    // Distance 7.25 and the preset "The Sims".
    COGLCamera3D();

    void Apply() override;
    Vector3 GetCenter() const override { return center_; }
    float GetZoomPercent() const override;
    void SetPresetRight() override;
    void SetPresetLeft() override;
    void SetPresetTop() override;
    void SetPresetFront() override;
    void MoveAlongUp(float d) override;
    void MoveAlongRight(float d) override;
    void MoveInOut(float d) override;

    // The game's own view: 30° above the floor, turned 45°.
    void SetPresetSims();
    // Applies a preset by its number in the Camera menu.
    void SetPreset(CameraPreset preset);
    // How near and how far the zoom goes (1600 % and about 13 %): the view
    // volume stays well formed and the room fits the window.
    static constexpr float kNearestDistance = 0.5f;
    static constexpr float kFarthestDistance = 60.0f;
    // distance += d, kept within the two bounds.
    void Zoom(float d);
    // distance × factor, kept within the two bounds (a factor that is not a
    // positive number changes nothing).
    void ZoomBy(float factor);
    // azimuth += d, wrapped into [0, 360); the camera leaves its preset (0).
    void Orbit(float d);

    // What Apply multiplies onto the modelview matrix: translate (0, 0,
    // −distance), rotate elevation about x, azimuth about y, roll about z,
    // translate center.
    Matrix4 ViewMatrix() const;

    float Roll() const { return roll_; }
    float Elevation() const { return elevation_; }
    float Azimuth() const { return azimuth_; }

private:
    void Set(CameraPreset preset, const Vector3& center, float elevation, float azimuth);

    float roll_ = 0.0f;
    float elevation_ = 0.0f;
    float azimuth_ = 0.0f;
};

} // namespace zelvane
