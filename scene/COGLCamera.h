#pragma once
// A camera turns the world around a point and keeps the world axes nearest to
// the screen's up, right and forward directions, which the mouse tools move
// objects and the camera along. The viewport sets an orthographic projection
// whose half-height is the camera's distance, then applies the camera.

#include "scene/math/Matrix4.h"
#include "scene/math/Vector3.h"

#include <cstdint>

namespace zelvane {

// The presets, in the order of the viewport's Camera menu.
enum class CameraPreset : std::int32_t { Sims = 0, Top = 1, Front = 2, Left = 3, Right = 4 };

class COGLCamera {
public:
    virtual ~COGLCamera() = default;

    // Multiplies the modelview matrix by the camera transform and, when the
    // camera has changed, refreshes the derived vectors.
    virtual void Apply() {}
    virtual Vector3 GetCenter() const = 0;
    // 8 / distance × 100: 100 % at distance 8.
    virtual float GetZoomPercent() const = 0;
    virtual void SetPresetRight() = 0;
    virtual void SetPresetLeft() = 0;
    virtual void SetPresetTop() = 0;
    virtual void SetPresetFront() = 0;
    // center += d × the axis nearest to the screen's up / right direction.
    virtual void MoveAlongUp(float d) = 0;
    virtual void MoveAlongRight(float d) = 0;
    // Adds d to each component of center (not along the viewing axis).
    virtual void MoveInOut(float d) = 0;
    // center += by: the scene moves by `by` on the screen (the tools' Pan).
    void MoveCenter(const Vector3& by)
    {
        center_ += by;
        dirty_ = true;
    }

    // From the modelview matrix the camera produced: `eye` is its inverse
    // applied to the point `center`, `up` to the direction (0, 1, 0), and the
    // three axes are the images of (0, 1, 0), (1, 0, 0) and (0, 0, 1) snapped to
    // the nearest signed world axis. A singular matrix is used as it is.
    void RefreshDerivedVectors(const Matrix4& modelView);

    const Vector3& DvUp() const { return dvUp_; }
    const Vector3& DvRight() const { return dvRight_; }
    const Vector3& DvFace() const { return dvFace_; }
    bool IsDirty() const { return dirty_; }
    void MarkDirty() { dirty_ = true; }
    float Distance() const { return distance_; }
    void SetDistance(float distance) { distance_ = distance; }
    const Vector3& Center() const { return center_; }
    // The point the scene sorts objects by distance from.
    const Vector3& Eye() const { return eye_; }
    const Vector3& Up() const { return up_; }
    CameraPreset Preset() const { return preset_; }

protected:
    COGLCamera() = default;

    Vector3 dvUp_{0, 1, 0};
    Vector3 dvRight_{1, 0, 0};
    Vector3 dvFace_{0, 0, 1};
    bool dirty_ = true;
    float distance_ = 0.0f;
    Vector3 center_;
    Vector3 eye_;
    Vector3 up_{0, 1, 0};
    CameraPreset preset_ = CameraPreset::Sims;
};

} // namespace zelvane
