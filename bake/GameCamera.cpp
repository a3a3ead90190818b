#include "bake/GameCamera.h"

#include "scene/COGLCamera3D.h"

namespace zelvane {

namespace {

// The image the object lists show, and the one the editor's preset gives.
constexpr int kPresetDirection = 2;
constexpr double kQuarterTurn = 90.0;

} // namespace

GameCamera::GameCamera()
{
    COGLCamera3D preset;
    preset.SetPresetSims();
    elevation_ = preset.Elevation();
    azimuth_ = preset.Azimuth();
}

double GameCamera::Azimuth(int direction) const
{
    return azimuth_ + kQuarterTurn * (kPresetDirection - direction);
}

Matrix4 GameCamera::Turn(int direction)
{
    return Matrix4::Rotation(kQuarterTurn * (kPresetDirection - direction), 0, 1, 0);
}

Matrix4 GameCamera::ViewMatrix(int direction) const
{
    return Matrix4::Rotation(elevation_, 1, 0, 0) * Matrix4::Rotation(azimuth_, 0, 1, 0) * Turn(direction);
}

ScreenPosition GameCamera::Project(int direction, const Vector3& world) const
{
    const Matrix4 m = ViewMatrix(direction);
    const double x = world.x, y = world.y, z = world.z;
    const double ex = m[0] * x + m[4] * y + m[8] * z + m[12];
    const double ey = m[1] * x + m[5] * y + m[9] * z + m[13];
    const double ez = m[2] * x + m[6] * y + m[10] * z + m[14];
    return {ex * kPixelsPerUnit, -ey * kPixelsPerUnit, -ez};
}

Vector3 GameCamera::TileCentre(int tileX, int tileY)
{
    return {static_cast<float>(tileY), 0.0f, static_cast<float>(-tileX)};
}

} // namespace zelvane
