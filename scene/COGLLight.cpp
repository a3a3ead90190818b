#include "scene/COGLLight.h"

#include "report/Reporter.h"
#include "scene/ActiveGLContext.h"
#include "scene/LightSlots.h"

#include <algorithm>
#include <bit>

namespace zelvane {

using namespace light_layout;

namespace {

void WriteColour(ByteWriter& out, const ColourRGBA& colour)
{
    for (const float component : colour)
        out.u32le(std::bit_cast<std::uint32_t>(component));
}

ColourRGBA ReadColour(ByteReader& in)
{
    ColourRGBA colour{};
    for (float& component : colour)
        component = in.f32le();
    return colour;
}

} // namespace

COGLLight::COGLLight() : slot_(LightSlots::Take())
{
    if (slot_ < 0) {
        CurrentReporter().ShowMessage("No more lights are available.", MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    glLight_ = static_cast<GLenum>(GL_LIGHT0 + slot_);
}

COGLLight::~COGLLight()
{
    marker_.reset();
    if (slot_ < 0)
        return;
    IGLContext& context = ActiveGLContext();
    context.BeginGL();
    glDisable(glLight_);
    context.EndGL();
    LightSlots::Release(slot_);
}

void COGLLight::DrawMarker()
{
    if (!marker_)
        return;
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    marker_->Draw(kDrawWireframe);
    glPopAttrib();
}

void COGLLight::DrawMarkerForPicking()
{
    if (marker_)
        marker_->DrawForPicking();
}

void COGLLight::SaveLight(ByteWriter& out) const
{
    const std::size_t nameLength = std::min(name_.size(), kNameSize - 1);
    out.text(std::string_view(name_).substr(0, nameLength));
    out.fill(kNameSize - nameLength, 0);
    WriteColour(out, ambient_);
    WriteColour(out, diffuse_);
    WriteColour(out, specular_);
    const Vector3 position = marker_ ? marker_->Position() : Vector3{};
    for (const float component : {position.x, position.y, position.z, positionW_})
        out.u32le(std::bit_cast<std::uint32_t>(component));
    out.u32le(marker_ && marker_->IsVisible() ? 1 : 0);
    out.u32le(enabled_ ? 1 : 0);
}

bool COGLLight::LoadLight(ByteReader& in)
{
    ByteReader record = in.take_sub(kRecordSize);
    if (!record.ok() || record.size() < kRecordSize)
        return false;
    name_ = record.cstring(kNameSize);
    record.seek(kAmbientPos);
    ambient_ = ReadColour(record);
    diffuse_ = ReadColour(record);
    specular_ = ReadColour(record);
    const float x = record.f32le(), y = record.f32le(), z = record.f32le();
    positionW_ = record.f32le();
    const bool markerVisible = record.u32le() != 0;
    enabled_ = record.u32le() != 0;
    if (marker_) {
        marker_->SetPosition(x, y, z);
        marker_->SetVisible(markerVisible);
    }
    return true;
}

void COGLLight::CopyFrom(const COGLLight& source)
{
    ambient_ = source.ambient_;
    diffuse_ = source.diffuse_;
    specular_ = source.specular_;
    if (marker_ && source.marker_) {
        const Vector3& p = source.marker_->Position();
        marker_->SetPosition(p.x, p.y, p.z);
    }
    positionW_ = source.positionW_;
    name_ = "Copy of " + source.name_;
}

} // namespace zelvane
