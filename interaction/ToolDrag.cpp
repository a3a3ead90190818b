#include "interaction/ToolDrag.h"

#include "document/COGLDoc.h"
#include "document/ObjectPlacement.h"
#include "scene/COGLCamera3D.h"
#include "scene/COGLObject.h"
#include "scene/COGLViewport3D.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zelvane {

namespace {

constexpr float kLargestRotationStep = 10.0f;
// Looking down at the floor when the screen's up direction leans at least
// this far along it (about 15° of elevation): The Sims and Top do, the
// level presets do not.
constexpr float kLooksDown = 0.25f;

// The scene's directions of the camera's screen axes.
struct ScreenAxes {
    Vector3 right;  // to the right on the screen
    Vector3 up;     // up the screen
    Vector3 toward; // towards the viewer
};

ScreenAxes AxesOf(const COGLCamera3D& camera)
{
    // The rows of the view's turn are the screen's axes in the scene.
    const Matrix4 view = camera.ViewMatrix();
    const auto row = [&](int r) {
        return Vector3{static_cast<float>(view[r]), static_cast<float>(view[4 + r]), static_cast<float>(view[8 + r])};
    };
    return {row(0), row(1), row(2)};
}

Vector3 Flattened(const Vector3& v)
{
    Vector3 flat{v.x, 0.0f, v.z};
    flat.Normalise();
    return flat;
}

float HorizontalLength(const Vector3& v)
{
    return std::sqrt(v.x * v.x + v.z * v.z);
}

float Snapped(float value, float step)
{
    return std::round(value / step) * step;
}

// Move, Rotate, Scale and the texture tools: the object changes at every step
// (the document shows it), and the whole drag becomes one undo step.
class ObjectDrag final : public ToolDrag {
public:
    ObjectDrag(const DragSetup& setup, COGLDoc& document, COGLObject& object, const COGLCamera3D& camera)
        : setup_(setup), document_(document), object_(object), camera_(camera), before_(ObjectPlacement::Of(object)),
          free_(object.Position())
    {
    }

    void Step(const DragStep& step) override
    {
        Apply(step);
        document_.PlacementMoved(object_);
    }
    void End() override { document_.CommitPlacement(object_, before_, std::string(ToolName(setup_.tool))); }
    void Cancel() override { document_.CancelPlacement(object_, before_); }
    float RotationTotal() const override { return rotationTotal_; }

private:
    void Apply(const DragStep& step);
    void Move(const DragStep& step);
    void Rotate(const DragStep& step);

    DragSetup setup_;
    COGLDoc& document_;
    COGLObject& object_;
    const COGLCamera3D& camera_;
    ObjectPlacement before_;
    // Where the drag has taken the object before snapping, and how far Rotate
    // has turned it (unwrapped).
    Vector3 free_;
    float turned_ = 0.0f;
    float rotationTotal_ = 0.0f;
};

void ObjectDrag::Move(const DragStep& step)
{
    const auto [sx, sy, sz] = setup_.switches;
    const ScreenAxes axes = AxesOf(camera_);
    const float units = setup_.unitsPerPixel * setup_.speeds.sensitivity;
    const float across = step.dx * units;
    const float upward = -step.dy * units; // screen rows grow downwards
    const float lean = HorizontalLength(axes.up);
    const bool looksDown = lean >= kLooksDown;
    // How far a unit up the scene's vertical shows up the screen.
    const float rise = std::max(std::fabs(axes.up.y), kLooksDown);

    Vector3 by;
    if (sx)
        by += Flattened(axes.right) * across;
    if (step.left) {
        if (looksDown && sz)
            by += Flattened(axes.up) * (upward / lean); // away from the viewer, up the screen
        else if (!looksDown && sy)
            by.y += upward / rise;
    } else if (step.right) {
        if (looksDown && sy)
            by.y += upward / rise;
        else if (!looksDown && sz)
            by += Flattened(axes.toward) * -upward; // away from the viewer, along the view
    }
    free_ += by;
    Vector3 p = free_;
    if (step.snap) {
        // Only what this drag moves goes to the grid.
        const Vector3& start = before_.position;
        if (free_.x != start.x)
            p.x = Snapped(free_.x, kSnapGrid);
        if (free_.y != start.y)
            p.y = Snapped(free_.y, kSnapGrid);
        if (free_.z != start.z)
            p.z = Snapped(free_.z, kSnapGrid);
    }
    object_.SetPosition(p.x, p.y, p.z);
}

void ObjectDrag::Rotate(const DragStep& step)
{
    if (!step.left)
        return;
    const auto [sx, sy, sz] = setup_.switches;
    const float r = std::clamp(step.dx, -kLargestRotationStep, kLargestRotationStep);
    turned_ += r;
    float angle = step.snap ? Snapped(turned_, kSnapDegrees) : turned_;
    // The readout's total, wrapped within ±359.
    rotationTotal_ = std::fmod(angle, 360.0f);
    if (rotationTotal_ > 359.0f)
        rotationTotal_ -= 360.0f;
    if (rotationTotal_ < -359.0f)
        rotationTotal_ += 360.0f;
    // About the scene's axes, whatever turns the object has had: a model
    // imported on its back turns about the vertical in place.
    Vector3 axis{0.0f, 1.0f, 0.0f};
    if (sx) {
        axis = {1.0f, 0.0f, 0.0f};
        angle = -angle;
    } else if (!sy && sz) {
        axis = {0.0f, 0.0f, 1.0f};
    }
    object_.SetOrientation(before_.orientation.TurnedAboutSceneAxis(axis, angle));
}

void ObjectDrag::Apply(const DragStep& step)
{
    const auto [sx, sy, sz] = setup_.switches;
    const ToolSpeeds& speeds = setup_.speeds;
    const float dx = step.dx;
    const float dy = step.dy;
    const bool left = step.left;
    COGLObject& object = object_;
    switch (setup_.tool) {
    case Tool::Move: Move(step); break;
    case Tool::Rotate: Rotate(step); break;
    case Tool::Scale: {
        if (!left || setup_.clientWidth < 1)
            return;
        const float f = dx / static_cast<float>(setup_.clientWidth) + 1.0f;
        const Vector3 old = object.GetScale();
        if (sx)
            object.SetScaleX(f * old.x);
        if (sy)
            object.SetScaleY(f * old.y);
        if (sz)
            object.SetScaleZ(f * old.z);
        break;
    }
    case Tool::TextureMove: {
        if (!left)
            return;
        Vector3 offset = object.TextureOffset();
        if (sy)
            offset.y += dy * speeds.texture;
        if (sx)
            offset.x -= dx * speeds.texture;
        object.SetTextureOffset(offset);
        break;
    }
    case Tool::TextureScale: {
        if (!left || setup_.clientWidth < 1)
            return;
        const float f = dx / static_cast<float>(setup_.clientWidth) + 1.0f;
        Vector3 scale = object.TextureScale();
        if (sx)
            scale.x *= f;
        if (sy)
            scale.y *= f;
        object.SetTextureScale(scale);
        break;
    }
    case Tool::TextureRotate: {
        if (!left)
            return;
        Vector3 rotation = object.TextureRotation();
        rotation.z += dx;
        while (rotation.z > 359.0f)
            rotation.z -= 360.0f;
        while (rotation.z < 0.0f)
            rotation.z += 360.0f;
        object.SetTextureRotation(rotation);
        break;
    }
    default:
        break;
    }
}

// Pan, Orbit and Zoom: the view's camera, which is no change of the document.
class CameraDrag final : public ToolDrag {
public:
    CameraDrag(const DragSetup& setup, COGLDoc& document, COGLCamera3D& camera)
        : setup_(setup), document_(document), camera_(camera), before_(camera)
    {
    }

    void Step(const DragStep& step) override;
    void End() override {}
    void Cancel() override
    {
        camera_ = before_;
        camera_.MarkDirty();
    }

private:
    DragSetup setup_;
    COGLDoc& document_;
    COGLCamera3D& camera_;
    COGLCamera3D before_;
};

void CameraDrag::Step(const DragStep& step)
{
    const auto [sx, sy, sz] = setup_.switches;
    const ToolSpeeds& speeds = setup_.speeds;
    switch (setup_.tool) {
    case Tool::Pan: {
        // The scene follows the pointer: left-right and up-down in the
        // plane of the screen; the right button moves in and out.
        const ScreenAxes axes = AxesOf(camera_);
        const float units = setup_.unitsPerPixel * speeds.sensitivity;
        Vector3 by;
        if (sx)
            by += axes.right * (step.dx * units);
        if (step.left && sy)
            by += axes.up * (-step.dy * units);
        if (step.right && sz)
            by += axes.toward * (-step.dy * units);
        camera_.MoveCenter(by);
        break;
    }
    case Tool::Orbit:
        if (sx && step.left)
            camera_.Orbit(-step.dx * speeds.orbit);
        break;
    case Tool::Zoom:
        // The zoom presets would put the distance back at the next frame.
        document_.ReleaseZoomPreset();
        // Right is nearer, by the same factor per pixel at every distance.
        camera_.ZoomBy(std::pow(kZoomPerPixel, -step.dx * speeds.sensitivity));
        break;
    default:
        break;
    }
}

} // namespace

std::unique_ptr<ToolDrag> BeginToolDrag(const DragSetup& setup, COGLDoc& document, COGLObject* target,
                                        COGLViewport3D& viewport)
{
    switch (setup.tool) {
    case Tool::Move:
    case Tool::Rotate:
    case Tool::Scale:
    case Tool::TextureMove:
    case Tool::TextureScale:
    case Tool::TextureRotate:
        if (!target)
            return nullptr;
        return std::make_unique<ObjectDrag>(setup, document, *target, viewport.Camera());
    case Tool::Pan:
    case Tool::Orbit:
    case Tool::Zoom:
    case Tool::FieldOfView:
        return std::make_unique<CameraDrag>(setup, document, viewport.Camera());
    case Tool::Select:
        break;
    }
    return nullptr;
}

} // namespace zelvane
