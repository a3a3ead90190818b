#include "scene/COGLPointLight.h"

#include "scene/COGLSphere.h"

namespace zelvane {

namespace {

constexpr float kMarkerScale = 0.15f;

} // namespace

COGLPointLight::COGLPointLight(float x, float y, float z)
{
    auto marker = std::make_unique<COGLSphere>();
    marker->SetAmbient(0.1f, 0.1f, 0.1f, 1.0f);
    marker->SetDiffuse(0.25f, 0.25f, 0.25f, 1.0f);
    marker->SetSpecular(1.0f, 1.0f, 1.0f, 1.0f);
    marker->SetEmission(0.2f, 0.2f, 0.2f, 1.0f);
    marker->SetShininess(1.0f);
    marker->SetScale(kMarkerScale, kMarkerScale, kMarkerScale);
    marker->SetPickStyle(COGLObject::kPickByOutline);
    marker->SetFlags(marker->Flags() | COGLObject::kLightMarkerFlag);
    marker->PickByOutline();
    marker->SetPosition(x, y, z);
    marker_ = std::move(marker);
    SetName("Point");
    positionW_ = 1.0f;
}

void COGLPointLight::Apply()
{
    if (Slot() < 0)
        return;
    if (!IsEnabled()) {
        glDisable(GlLight());
        return;
    }
    glEnable(GlLight());
    glLightfv(GlLight(), GL_AMBIENT, ambient_.data());
    glLightfv(GlLight(), GL_DIFFUSE, diffuse_.data());
    glLightfv(GlLight(), GL_SPECULAR, specular_.data());
    const Vector3& p = marker_->Position();
    const GLfloat position[4] = {p.x, p.y, p.z, positionW_};
    glLightfv(GlLight(), GL_POSITION, position);
}

} // namespace zelvane
