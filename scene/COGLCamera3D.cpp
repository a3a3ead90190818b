#include "scene/COGLCamera3D.h"

#include "scene/math/Angles.h"

#include <GL/gl.h>

#include <cmath>

namespace zelvane {

namespace {

constexpr float kNewCameraDistance = 7.25f;
constexpr float kFullZoomDistance = 8.0f;

} // namespace

COGLCamera3D::COGLCamera3D()
{
    distance_ = kNewCameraDistance;
    SetPresetSims();
}

Matrix4 COGLCamera3D::ViewMatrix() const
{
    return Matrix4::Translation(0, 0, -distance_) * Matrix4::Rotation(elevation_, 1, 0, 0)
        * Matrix4::Rotation(azimuth_, 0, 1, 0) * Matrix4::Rotation(roll_, 0, 0, 1)
        * Matrix4::Translation(center_.x, center_.y, center_.z);
}

void COGLCamera3D::Apply()
{
    glMultMatrixd(ViewMatrix().Data());
    if (!dirty_)
        return;
    dirty_ = false;
    std::array<double, 16> modelView{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    RefreshDerivedVectors(Matrix4(modelView));
}

float COGLCamera3D::GetZoomPercent() const
{
    return kFullZoomDistance / distance_ * 100.0f;
}

void COGLCamera3D::Set(CameraPreset preset, const Vector3& center, float elevation, float azimuth)
{
    preset_ = preset;
    center_ = center;
    roll_ = 0.0f;
    elevation_ = elevation;
    azimuth_ = azimuth;
    dirty_ = true;
}

void COGLCamera3D::SetPresetSims()
{
    Set(CameraPreset::Sims, {0.0f, -1.0f, 0.0f}, 30.0f, 45.0f);
}

void COGLCamera3D::SetPresetTop()
{
    Set(CameraPreset::Top, {0.0f, 0.0f, 0.0f}, 90.0f, 0.0f);
}

void COGLCamera3D::SetPresetFront()
{
    Set(CameraPreset::Front, {0.0f, -1.5f, 0.0f}, 0.0f, 0.0f);
}

void COGLCamera3D::SetPresetLeft()
{
    Set(CameraPreset::Left, {0.0f, -1.5f, 0.0f}, 0.0f, 90.0f);
}

void COGLCamera3D::SetPresetRight()
{
    Set(CameraPreset::Right, {0.0f, 0.0f, 0.0f}, 0.0f, 270.0f);
}

void COGLCamera3D::SetPreset(CameraPreset preset)
{
    switch (preset) {
    case CameraPreset::Sims: SetPresetSims(); break;
    case CameraPreset::Top: SetPresetTop(); break;
    case CameraPreset::Front: SetPresetFront(); break;
    case CameraPreset::Left: SetPresetLeft(); break;
    case CameraPreset::Right: SetPresetRight(); break;
    }
}

void COGLCamera3D::MoveAlongUp(float d)
{
    center_ += dvUp_ * d;
    dirty_ = true;
}

void COGLCamera3D::MoveAlongRight(float d)
{
    center_ += dvRight_ * d;
    dirty_ = true;
}

void COGLCamera3D::MoveInOut(float d)
{
    center_ += {d, d, d};
    dirty_ = true;
}

void COGLCamera3D::Zoom(float d)
{
    distance_ += d;
    // A distance of 0 makes an empty view volume (an OpenGL error at every
    // frame); NaN compares false, so it is caught with the small values.
    if (!(distance_ >= kNearestDistance))
        distance_ = kNearestDistance;
    if (distance_ > kFarthestDistance)
        distance_ = kFarthestDistance;
}

void COGLCamera3D::ZoomBy(float factor)
{
    if (!(factor > 0.0f) || !std::isfinite(factor))
        return;
    Zoom(distance_ * factor - distance_);
}

void COGLCamera3D::Orbit(float d)
{
    azimuth_ = WrapDegrees(azimuth_ + d);
    dirty_ = true;
    preset_ = CameraPreset::Sims;
}

} // namespace zelvane
