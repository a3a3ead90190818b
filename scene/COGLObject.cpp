#include "scene/COGLObject.h"

#include "scene/COGLTexture2D.h"
#include "scene/NextObjectId.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"
#include "scene/math/Angles.h"

namespace zelvane {

namespace {

constexpr float kAxisMarkerLength = 0.2f;

} // namespace

COGLObject::COGLObject(ObjectKind kind, KindLists lists)
    : pickList_(lists.solid), solidList_(lists.solid), wireList_(lists.wire), name_(DefaultNameOf(kind)),
      id_(NextObjectId()), kind_(kind)
{
}

// --- Drawing ---------------------------------------------------------------

void COGLObject::Draw(DrawFlags flags)
{
    DrawList(flags, (flags & kDrawWireframe) ? wireList_ : solidList_, {textureOffset_, textureScale_, false});
}

void COGLObject::DrawList(DrawFlags flags, GLuint list, const TextureMapping& mapping)
{
    if (!visible_)
        return;
    BeginTransparency();
    glPushMatrix();
    ApplyPlacement();
    if (flags & kDrawShaded) {
        ApplyMaterial();
        if (texture_)
            DrawTextured(list, textureEnvMode_, mapping);
        else
            CallList(list);
    } else {
        CallList(list);
    }
    if (flags & kDrawAxisMarkers)
        DrawAxes();
    glPopMatrix();
    EndTransparency();
}

void COGLObject::DrawForPicking()
{
    if (id_ & kHiddenBit)
        return;
    glLoadName(id_);
    glPushMatrix();
    ApplyPlacement();
    CallList(pickList_);
    glPopMatrix();
}

void COGLObject::DrawCage()
{
    DrawCageAround(0.0f);
}

void COGLObject::DrawAxes()
{
    const Vector3& e = extent_;
    DrawAxisMarkers({e.x, 0.0f, 0.0f}, {0.0f, e.y, 0.0f}, {0.0f, 0.0f, e.z});
}

void COGLObject::DrawAxisMarkers(const Vector3& xFrom, const Vector3& yFrom, const Vector3& zFrom) const
{
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(xFrom.x, xFrom.y, xFrom.z);
    glVertex3f(xFrom.x + kAxisMarkerLength, xFrom.y, xFrom.z);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(yFrom.x, yFrom.y, yFrom.z);
    glVertex3f(yFrom.x, yFrom.y + kAxisMarkerLength, yFrom.z);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(zFrom.x, zFrom.y, zFrom.z);
    glVertex3f(zFrom.x, zFrom.y, zFrom.z + kAxisMarkerLength);
    glEnd();
}

void COGLObject::ApplyPlacement() const
{
    glTranslatef(position_.x, position_.y, position_.z);
    ApplyRotation();
    ApplyShapeOffset();
    glScalef(scale_.x, scale_.y, scale_.z);
}

void COGLObject::ApplyCagePlacement() const
{
    glTranslatef(position_.x, position_.y, position_.z);
    ApplyRotation();
    glScalef(scale_.x, scale_.y, scale_.z);
}

void COGLObject::ApplyRotation() const
{
    glMultMatrixd(orientation_.ToMatrix().Data());
}

void COGLObject::BeginTransparency() const
{
    if (!transparent_)
        return;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
}

void COGLObject::EndTransparency() const
{
    if (!transparent_)
        return;
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void COGLObject::ApplyMaterial() const
{
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess_);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specularColor_.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuseColor_.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambientColor_.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emissionColor_.data());
}

void COGLObject::DrawTextured(GLuint list, GLenum envMode, const TextureMapping& mapping) const
{
    const bool generateCoordinates = mapping.generatedCoordinates;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_->GlName());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(envMode));
    if (generateCoordinates) {
        static constexpr GLfloat kSPlane[4] = {1.0f, 0.0f, 0.0f, 0.0f};
        static constexpr GLfloat kTPlane[4] = {0.0f, 1.0f, 0.0f, 0.0f};
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
        glTexGenfv(GL_S, GL_OBJECT_PLANE, kSPlane);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
        glTexGenfv(GL_T, GL_OBJECT_PLANE, kTPlane);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    }
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(mapping.translation.x, mapping.translation.y, mapping.translation.z);
    glRotatef(textureRotation_.x, 1.0f, 0.0f, 0.0f);
    glRotatef(textureRotation_.y, 0.0f, 1.0f, 0.0f);
    glRotatef(textureRotation_.z, 0.0f, 0.0f, 1.0f);
    glScalef(mapping.scaling.x, mapping.scaling.y, mapping.scaling.z);
    glMatrixMode(GL_MODELVIEW);
    CallList(list);
    if (generateCoordinates) {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

Box3 COGLObject::SceneBox() const
{
    const Vector3& e = extent_;
    return PlacedBox(Box3::Spanning({-e.x, -e.y, -e.z}, e));
}

Box3 COGLObject::PlacedBox(const Box3& box, const Vector3& shapeOffset) const
{
    const Matrix4 turn = orientation_.ToMatrix();
    Box3 placed;
    for (int i = 0; i < 8; ++i) {
        const Vector3 c = box.Corner(i);
        const Vector3 scaled{c.x * scale_.x, c.y * scale_.y, c.z * scale_.z};
        placed.Include(position_ + turn.TransformDirection(shapeOffset + scaled));
    }
    return placed;
}

void COGLObject::DrawCageAround(float lift)
{
    const Vector3& e = extent_;
    DrawCageBox({-e.x, -e.y, -e.z}, {e.x, e.y, e.z}, CagePlacement::Centred, lift);
}

void COGLObject::DrawCageBox(const Vector3& low, const Vector3& high, CagePlacement placement, float lift)
{
    if (!visible_)
        return;
    glPushMatrix();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 0.0f, 0.0f);
    if (placement == CagePlacement::ShapeOffset)
        ApplyPlacement();
    else
        ApplyCagePlacement();
    // Planes lift their cage off the surface so it is not hidden in it.
    if (lift != 0.0f)
        glTranslatef(0.0f, 0.0f, lift);
    glBegin(GL_LINE_LOOP);
    glVertex3f(high.x, high.y, high.z);
    glVertex3f(low.x, high.y, high.z);
    glVertex3f(low.x, low.y, high.z);
    glVertex3f(high.x, low.y, high.z);
    glEnd();
    glBegin(GL_LINE_LOOP);
    glVertex3f(high.x, high.y, low.z);
    glVertex3f(high.x, low.y, low.z);
    glVertex3f(low.x, low.y, low.z);
    glVertex3f(low.x, high.y, low.z);
    glEnd();
    glBegin(GL_LINES);
    for (const float x : {low.x, high.x})
        for (const float y : {low.y, high.y}) {
            glVertex3f(x, y, low.z);
            glVertex3f(x, y, high.z);
        }
    glEnd();
    DrawAxes();
    glPopAttrib();
    glPopMatrix();
}

// --- Scene file record --------------------------------------------------------

void COGLObject::SaveObject(SceneFileWriter& file, std::int32_t textureIndex) const
{
    const ObjectRecord r = Record();
    file.FixedText(r.name, scene_file::kNameField);
    file.Colour(r.ambient);
    file.Colour(r.diffuse);
    file.Colour(r.specular);
    file.Colour(r.emission);
    file.F32(r.shininess);
    file.Quat(r.orientation);
    file.Vec3(r.scale);
    file.Vec3(r.position);
    // Position x once more: the format has it twice, and readers take this one.
    file.F32(r.position.x);
    file.U8(r.visible ? 1 : 0);
    file.U8(r.transparent ? 1 : 0);
    file.U8(r.marked ? 1 : 0);
    file.I32(r.pickStyle);
    file.U32(r.flags);
    file.I32(textureIndex);
    file.Vec3(r.textureRotation);
    file.Vec3(r.textureScale);
    file.Vec3(r.textureOffset);
    file.U32(r.textureEnvMode);
    file.I32(r.spareWord);
}

std::int32_t COGLObject::LoadObject(SceneFileReader& file)
{
    ObjectRecord r;
    r.name = file.FixedText(scene_file::kNameField);
    r.ambient = file.Colour();
    r.diffuse = file.Colour();
    r.specular = file.Colour();
    r.emission = file.Colour();
    r.shininess = file.F32();
    r.orientation = file.Quat();
    r.scale = file.Vec3();
    r.position = file.Vec3();
    r.position.x = file.F32();
    r.visible = file.U8() != 0;
    r.transparent = file.U8() != 0;
    r.marked = file.U8() != 0;
    r.pickStyle = file.I32();
    r.flags = file.U32();
    const std::int32_t textureIndex = file.I32();
    r.textureRotation = file.Vec3();
    r.textureScale = file.Vec3();
    r.textureOffset = file.Vec3();
    r.textureEnvMode = file.U32();
    r.spareWord = file.I32();
    SetRecord(r);
    return textureIndex;
}

ObjectRecord COGLObject::Record() const
{
    return {name_,        ambientColor_, diffuseColor_,    specularColor_, emissionColor_,   shininess_,
            orientation_, scale_,        position_,        visible_,       transparent_,     marked_,
            pickStyle_,   flags_,        textureRotation_, textureScale_,  textureOffset_, textureEnvMode_,
            spareWord_};
}

void COGLObject::SetRecord(const ObjectRecord& r)
{
    name_ = r.name;
    ambientColor_ = r.ambient;
    diffuseColor_ = r.diffuse;
    specularColor_ = r.specular;
    emissionColor_ = r.emission;
    shininess_ = r.shininess;
    orientation_ = r.orientation;
    // As stored: a plane's SetScale would change a z the file holds.
    scale_ = r.scale;
    position_ = r.position;
    transparent_ = r.transparent;
    marked_ = r.marked;
    pickStyle_ = r.pickStyle;
    flags_ = r.flags;
    textureRotation_ = r.textureRotation;
    textureScale_ = r.textureScale;
    textureOffset_ = r.textureOffset;
    textureEnvMode_ = r.textureEnvMode;
    spareWord_ = r.spareWord;
    // Through the setter, so that a hidden object is hidden from picking too.
    SetVisible(r.visible);
}

// --- Copying -----------------------------------------------------------------

void COGLObject::CopyFrom(const COGLObject& source)
{
    const ColourRGBA& a = source.ambientColor_;
    const ColourRGBA& d = source.diffuseColor_;
    const ColourRGBA& s = source.specularColor_;
    const ColourRGBA& e = source.emissionColor_;
    SetAmbient(a[0], a[1], a[2], a[3]);
    SetDiffuse(d[0], d[1], d[2], d[3]);
    SetSpecular(s[0], s[1], s[2], s[3]);
    SetEmission(e[0], e[1], e[2], e[3]);
    SetShininess(source.shininess_);
    SetScale(source.scale_.x, source.scale_.y, source.scale_.z);
    SetPosition(source.position_.x, source.position_.y, source.position_.z);
    extent_ = source.extent_;
    name_ = "Copy of " + source.name_;
    id_ = NextObjectId();
    transparent_ = source.transparent_;
    marked_ = source.marked_;
    pickStyle_ = source.pickStyle_;
    kind_ = source.kind_;
    orientation_ = source.orientation_;
    flags_ = source.flags_;
    texture_ = source.texture_;
    textureRotation_ = source.textureRotation_;
    textureScale_ = source.textureScale_;
    textureOffset_ = source.textureOffset_;
    textureEnvMode_ = source.textureEnvMode_;
    spareWord_ = source.spareWord_;
    // Through the setter, so that the copy of a hidden object is hidden from
    // picking too, not only from drawing.
    SetVisible(source.visible_);
}

// --- Material ----------------------------------------------------------------

void COGLObject::SetAmbient(float r, float g, float b, float a)
{
    ambientColor_ = {r, g, b, a};
}

void COGLObject::SetDiffuse(float r, float g, float b, float a)
{
    diffuseColor_ = {r, g, b, a};
}

void COGLObject::SetSpecular(float r, float g, float b, float a)
{
    specularColor_ = {r, g, b, a};
}

void COGLObject::SetEmission(float r, float g, float b, float a)
{
    emissionColor_ = {r, g, b, a};
}

void COGLObject::SetShininess(float shininess)
{
    shininess_ = shininess;
}

// --- Visibility --------------------------------------------------------------

void COGLObject::SetVisible(bool visible)
{
    if (visible)
        Show();
    else
        Hide();
}

void COGLObject::Show()
{
    visible_ = true;
    id_ &= ~kHiddenBit;
}

void COGLObject::Hide()
{
    visible_ = false;
    id_ |= kHiddenBit;
}

void COGLObject::SetTransparent(bool transparent)
{
    transparent_ = transparent;
}

void COGLObject::SetMarked()
{
    marked_ = true;
}

// --- Transform ---------------------------------------------------------------

void COGLObject::RotateAxisAngle(const Vector3& axis, float degrees)
{
    orientation_ = Quaternion::FromAxisAngle(axis, WrapDegrees(degrees)) * orientation_;
    orientation_.Normalise();
}

void COGLObject::RotateX(float degrees)
{
    RotateAxisAngle({1, 0, 0}, degrees);
}

void COGLObject::RotateY(float degrees)
{
    RotateAxisAngle({0, 1, 0}, degrees);
}

void COGLObject::RotateZ(float degrees)
{
    RotateAxisAngle({0, 0, 1}, degrees);
}

Vector3 COGLObject::GetScale() const
{
    return scale_;
}

void COGLObject::SetScale(float x, float y, float z)
{
    scale_ = {x, y, z};
}

void COGLObject::SetScaleX(float x)
{
    scale_.x = x;
}

void COGLObject::SetScaleY(float y)
{
    scale_.y = y;
}

void COGLObject::SetScaleZ(float z)
{
    scale_.z = z;
}

void COGLObject::Translate(float dx, float dy, float dz)
{
    position_ += {dx, dy, dz};
}

void COGLObject::SetPosition(float x, float y, float z)
{
    position_ = {x, y, z};
}

// --- Texture -----------------------------------------------------------------

void COGLObject::SetTexture(COGLTexture2D* texture)
{
    texture_ = texture && !texture->IsLoaded() ? nullptr : texture;
}

void COGLObject::SetTextureEnvMode(GLenum mode)
{
    textureEnvMode_ = mode;
}

} // namespace zelvane
