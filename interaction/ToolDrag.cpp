#include "interaction/ToolDrag.h"

#include "document/COGLDoc.h"
#include "document/ObjectPlacement.h"
#include "scene/COGLCamera3D.h"
#include "scene/COGLObject.h"
#include "scene/COGLViewport3D.h"

#include <algorithm>
#include <string>

namespace zelvane {

namespace {

constexpr float kLargestRotationStep = 10.0f;

// Move, Rotate, Scale and the texture tools: the object changes at every step
// (the document shows it), and the whole drag becomes one undo step.
class ObjectDrag final : public ToolDrag {
public:
    ObjectDrag(const DragSetup& setup, COGLDoc& document, COGLObject& object, const COGLCamera3D& camera)
        : setup_(setup), document_(document), object_(object), camera_(camera), before_(ObjectPlacement::Of(object))
    {
    }

    void Step(const DragStep& step) override
    {
        Apply(step.dx, step.dy, step.left, step.right);
        document_.PlacementMoved(object_);
    }
    void End() override { document_.CommitPlacement(object_, before_, std::string(ToolName(setup_.tool))); }
    void Cancel() override { document_.CancelPlacement(object_, before_); }
    float RotationTotal() const override { return rotationTotal_; }

private:
    void Apply(float dx, float dy, bool left, bool right);

    DragSetup setup_;
    COGLDoc& document_;
    COGLObject& object_;
    const COGLCamera3D& camera_;
    ObjectPlacement before_;
    float rotationTotal_ = 0.0f;
};

void ObjectDrag::Apply(float dx, float dy, bool left, bool right)
{
    const auto [sx, sy, sz] = setup_.switches;
    const ToolSpeeds& speeds = setup_.speeds;
    COGLObject& object = object_;
    switch (setup_.tool) {
    case Tool::Move: {
        dx *= speeds.move;
        dy *= speeds.move;
        Vector3 p = object.Position();
        if (sy && right) {
            p = p - camera_.DvUp() * dy;
        } else {
            // In and out moves x and z by the step as it is and only y along
            // the viewing axis, as the camera's own in-out move does.
            if (sz && left) {
                p.x += dy;
                p.y += dy * camera_.DvFace().y;
                p.z += dy;
            }
            if (sx && left)
                p += camera_.DvRight() * dx;
        }
        object.SetPosition(p.x, p.y, p.z);
        break;
    }
    case Tool::Rotate: {
        if (!left)
            return;
        const float r = std::clamp(dx, -kLargestRotationStep, kLargestRotationStep);
        rotationTotal_ += r;
        if (rotationTotal_ > 359.0f)
            rotationTotal_ -= 360.0f;
        if (rotationTotal_ < -359.0f)
            rotationTotal_ += 360.0f;
        if (sx)
            object.RotateX(-r);
        else if (sy)
            object.RotateY(r);
        else if (sz)
            object.RotateZ(r);
        break;
    }
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
    case Tool::Pan:
        if (sy && step.right) {
            camera_.MoveAlongUp(-step.dy * speeds.pan);
        } else {
            if (sz && step.left)
                camera_.MoveInOut(step.dy * speeds.pan);
            if (sx && step.left)
                camera_.MoveAlongRight(step.dx * speeds.pan);
        }
        break;
    case Tool::Orbit:
        if (sx && step.left)
            camera_.Orbit(-step.dx * speeds.orbit);
        break;
    case Tool::Zoom:
        // The zoom presets would put the distance back at the next frame.
        document_.ReleaseZoomPreset();
        camera_.Zoom(-step.dx * speeds.zoom);
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
