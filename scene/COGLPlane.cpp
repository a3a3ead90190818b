#include "scene/COGLPlane.h"

#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"

namespace zelvane {

namespace {

constexpr float kCageLift = 0.01f;

} // namespace

COGLPlane::COGLPlane() : COGLPlane(ObjectKind::Plane) {}

COGLPlane::COGLPlane(ObjectKind kind) : COGLObject(kind, PrimitiveLists::Of(kind)), gridList_(PrimitiveLists::PlaneGrid())
{
    scale_ = {3.0f, 3.0f, 1.0f};
    SetExtent({1.0f, 1.0f, 0.0f});
}

void COGLPlane::Draw(DrawFlags flags)
{
    if (!tessellated_) {
        COGLObject::Draw(flags);
        return;
    }
    // The grid spans [−1, 1]: the texture matrix first maps it onto [0, 1].
    const Vector3& scale = TextureScale();
    const Vector3& offset = TextureOffset();
    DrawList(flags, gridList_,
             {{scale.x * 0.5f + offset.x, scale.y * 0.5f + offset.y, offset.z}, {scale.x * 0.5f, scale.y * 0.5f, scale.z},
              true});
}

void COGLPlane::DrawCage()
{
    DrawCageAround(kCageLift);
}

void COGLPlane::SaveObject(SceneFileWriter& file, std::int32_t textureIndex) const
{
    COGLObject::SaveObject(file, textureIndex);
    file.U8(tessellated_ ? 1 : 0);
}

std::int32_t COGLPlane::LoadObject(SceneFileReader& file)
{
    const std::int32_t textureIndex = COGLObject::LoadObject(file);
    tessellated_ = file.U8() != 0;
    return textureIndex;
}

Vector3 COGLPlane::GetScale() const
{
    return {scale_.x, scale_.y, 0.0f};
}

void COGLPlane::SetScale(float x, float y, float)
{
    scale_ = {x, y, 1.0f};
}

void COGLPlane::SetScaleZ(float)
{
    scale_.z = 1.0f;
}

} // namespace zelvane
