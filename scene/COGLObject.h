#pragma once
// The base of everything the scene draws as a solid: primitives, planes, and
// later imported meshes and 3-D text. An object has a material, an optional
// texture (not owned) with its own placement, a position, a scale, an
// orientation, a name, an id that is its picking name, and three display lists
// (solid, wireframe, picking) shared with every object of its kind.
//
// Sections: construction and kind; drawing (normal, picking, cage, axes);
// scene file record; copying; material; visibility; transform; texture;
// fields.

#include "scene/DrawFlags.h"
#include "scene/ObjectKind.h"
#include "scene/ObjectRecord.h"
#include "scene/PrimitiveLists.h"
#include "scene/SceneColours.h"
#include "scene/math/Box3.h"
#include "scene/math/Quaternion.h"
#include "scene/math/Vector3.h"

#include <GL/gl.h>

#include <cstdint>
#include <string>

namespace zelvane {

class COGLTexture2D;
class SceneFileReader;
class SceneFileWriter;

class COGLObject {
public:
    // Bit 31 of the id marks a hidden object.
    static constexpr std::uint32_t kHiddenBit = 0x80000000u;
    // Bit 0 of `flags` marks the sphere that shows a light.
    static constexpr std::uint32_t kLightMarkerFlag = 0x1u;
    // A `pickStyle` of 2 picks with the outline lists (text, light markers).
    static constexpr std::int32_t kPickByOutline = 2;

    virtual ~COGLObject() = default;
    COGLObject(const COGLObject&) = delete;
    COGLObject& operator=(const COGLObject&) = delete;

    // Normal drawing: nothing when hidden; blended without depth writes when
    // transparent; the wireframe list with kDrawWireframe, else the solid one;
    // material and texture with kDrawShaded; axis markers with kDrawAxisMarkers.
    virtual void Draw(DrawFlags flags);
    // Loads the id as the OpenGL name and draws the picking list; nothing when
    // hidden.
    virtual void DrawForPicking();
    // The red selection cage around ±extent, with the axis markers.
    virtual void DrawCage();
    // Three short lines, red, green and blue, from the extent outwards.
    virtual void DrawAxes();
    // Where the object's shape lies in the scene: the box its cage is drawn
    // around, its corners turned, scaled and moved as the object is drawn
    // (a billboard's turn towards the viewer left out). For placing objects
    // and for measuring what a render will show.
    virtual Box3 SceneBox() const;

    // The object's record in a scene file: the common record (name cut to 99
    // characters, materials, transform, flags, `textureIndex`, texture
    // placement), then what the kind adds. Kinds with more to store override
    // both and call these first.
    virtual void SaveObject(SceneFileWriter& file, std::int32_t textureIndex) const;
    // Reads what SaveObject wrote and returns the stored texture index (−1 for
    // none). A record that cannot be read leaves `file` failed with the
    // reason; the object is then incomplete and must not be used.
    virtual std::int32_t LoadObject(SceneFileReader& file);
    // The common record's values as SaveObject writes them.
    ObjectRecord Record() const;
    // Takes every value of `record` as LoadObject takes the stored ones
    // (the scale as given, also a plane's z; visibility through SetVisible).
    void SetRecord(const ObjectRecord& record);

    // Copies the material, scale (through SetScale), position, extent,
    // visibility, transparency, marks, pick style, kind, orientation, flags,
    // texture (shared) and its placement; the name becomes "Copy of " and the
    // source's name; a fresh id. `pickable` is not copied.
    void CopyFrom(const COGLObject& source);

    void SetAmbient(float r, float g, float b, float a);
    void SetDiffuse(float r, float g, float b, float a);
    void SetSpecular(float r, float g, float b, float a);
    void SetEmission(float r, float g, float b, float a);
    void SetShininess(float shininess);

    void SetVisible(bool visible);
    // Visible again, with the id it had before it was hidden.
    void Show();
    // Neither drawn nor picked: sets bit 31 of the id.
    void Hide();
    void SetTransparent(bool transparent);
    void SetMarked();

    // Turns the orientation by `degrees` (wrapped into [0, 360)) about `axis`,
    // used as given: the axis of the object as its earlier turns left it.
    void RotateAxisAngle(const Vector3& axis, float degrees);
    void RotateX(float degrees);
    void RotateY(float degrees);
    void RotateZ(float degrees);

    virtual Vector3 GetScale() const;
    virtual void SetScale(float x, float y, float z);
    virtual void SetScaleX(float x);
    virtual void SetScaleY(float y);
    virtual void SetScaleZ(float z);

    void Translate(float dx, float dy, float dz);
    void SetPosition(float x, float y, float z);

    // Attaches `texture` (not owned; nullptr detaches). A texture that does not
    // load is not attached: the object is left without one.
    void SetTexture(COGLTexture2D* texture);
    void SetTextureEnvMode(GLenum mode);

    // Multiplies the current matrix by the orientation.
    virtual void ApplyRotation() const;

    ObjectKind Kind() const { return kind_; }
    std::uint32_t Id() const { return id_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    const ColourRGBA& AmbientColor() const { return ambientColor_; }
    const ColourRGBA& DiffuseColor() const { return diffuseColor_; }
    const ColourRGBA& SpecularColor() const { return specularColor_; }
    const ColourRGBA& EmissionColor() const { return emissionColor_; }
    float Shininess() const { return shininess_; }

    const Vector3& Position() const { return position_; }
    // The scale as stored (GetScale may report it differently, e.g. planes).
    const Vector3& Scale() const { return scale_; }
    const Vector3& Extent() const { return extent_; }
    void SetExtent(const Vector3& extent) { extent_ = extent; }
    const Quaternion& Orientation() const { return orientation_; }
    void SetOrientation(const Quaternion& orientation) { orientation_ = orientation; }

    bool IsVisible() const { return visible_; }
    bool IsTransparent() const { return transparent_; }
    bool IsMarked() const { return marked_; }
    std::int32_t PickStyle() const { return pickStyle_; }
    void SetPickStyle(std::int32_t style) { pickStyle_ = style; }
    std::uint32_t Flags() const { return flags_; }
    void SetFlags(std::uint32_t flags) { flags_ = flags; }
    bool IsPickable() const { return pickable_; }
    void SetPickable(bool pickable) { pickable_ = pickable; }

    COGLTexture2D* Texture() const { return texture_; }
    const Vector3& TextureRotation() const { return textureRotation_; }
    const Vector3& TextureScale() const { return textureScale_; }
    const Vector3& TextureOffset() const { return textureOffset_; }
    void SetTextureRotation(const Vector3& degrees) { textureRotation_ = degrees; }
    void SetTextureScale(const Vector3& scale) { textureScale_ = scale; }
    void SetTextureOffset(const Vector3& offset) { textureOffset_ = offset; }
    GLenum TextureEnvMode() const { return textureEnvMode_; }
    // Stored, copied and saved with the object; nothing draws with it.
    std::int32_t SpareWord() const { return spareWord_; }
    void SetSpareWord(std::int32_t word) { spareWord_ = word; }

    GLuint SolidList() const { return solidList_; }
    GLuint WireList() const { return wireList_; }
    GLuint PickList() const { return pickList_; }

protected:
    // Takes a fresh id; the lists are the kind's shared ones (picking with the
    // solid list).
    COGLObject(ObjectKind kind, KindLists lists);

    void SetPickList(GLuint list) { pickList_ = list; }
    // Lists made for this object alone (a mesh's); picking with the solid one.
    void SetLists(KindLists lists)
    {
        pickList_ = lists.solid;
        solidList_ = lists.solid;
        wireList_ = lists.wire;
    }

    // Translate, turn, scale: where the kind's list is drawn. Kinds whose shape
    // is not centred on its origin move it in between (ShapeOffset).
    void ApplyPlacement() const;
    // The same without the shape's offset: where the cage is drawn.
    void ApplyCagePlacement() const;
    virtual void ApplyShapeOffset() const {}

    // How a texture lies on the list: the texture matrix is `translation`, the
    // three texture rotations, then `scaling`; with `generatedCoordinates` s
    // and t come from the object's x and y instead of the list.
    struct TextureMapping {
        Vector3 translation;
        Vector3 scaling;
        bool generatedCoordinates = false;
    };
    // Draw's work for any list: placement, material and texture, axis markers.
    void DrawList(DrawFlags flags, GLuint list, const TextureMapping& mapping);
    // Draws what the list `list` stands for: the list itself, or for kinds
    // whose lists are ranges (one per character of a text), the whole range.
    virtual void CallList(GLuint list) const { glCallList(list); }

    // Blending on and depth writes off for a transparent object, and back.
    void BeginTransparency() const;
    void EndTransparency() const;
    // shininess, specular, diffuse, ambient, emission for both faces.
    void ApplyMaterial() const;
    // Draws `list` with the texture bound in `envMode`.
    void DrawTextured(GLuint list, GLenum envMode, const TextureMapping& mapping) const;
    // The cage's lines around ±extent, lifted `lift` along the object's z.
    void DrawCageAround(float lift);
    // The scene box of `box` (the object's units) placed as the object is,
    // with `shapeOffset` (scaled units) between the turn and the scaling.
    Box3 PlacedBox(const Box3& box, const Vector3& shapeOffset = {}) const;
    // The cage's lines around the box from `low` to `high`, lifted `lift`
    // along the object's z, with the axis markers; with `placement`
    // ShapeOffset the box moves with the shape.
    enum class CagePlacement { Centred, ShapeOffset };
    void DrawCageBox(const Vector3& low, const Vector3& high, CagePlacement placement, float lift = 0.0f);
    // The three axis markers, from the given starting points outwards along
    // x (red), y (green) and z (blue).
    void DrawAxisMarkers(const Vector3& xFrom, const Vector3& yFrom, const Vector3& zFrom) const;

    Vector3 scale_{1, 1, 1};

private:
    GLuint pickList_;
    GLuint solidList_;
    GLuint wireList_;
    ColourRGBA ambientColor_{0.2f, 0.2f, 0.2f, 1.0f};
    ColourRGBA diffuseColor_{0.8f, 0.8f, 0.8f, 1.0f};
    ColourRGBA specularColor_{0.0f, 0.0f, 0.0f, 1.0f};
    ColourRGBA emissionColor_{0.0f, 0.0f, 0.0f, 1.0f};
    float shininess_ = 0.0f;
    Vector3 position_{0, 0, 0};
    Vector3 extent_{1, 1, 1};
    std::string name_;
    std::uint32_t id_;
    bool visible_ = true;
    bool transparent_ = false;
    bool marked_ = false;
    std::int32_t pickStyle_ = 0;
    ObjectKind kind_;
    Quaternion orientation_;
    std::uint32_t flags_ = 0;
    COGLTexture2D* texture_ = nullptr;
    Vector3 textureRotation_{0, 0, 0};
    Vector3 textureScale_{1, 1, 1};
    Vector3 textureOffset_{0, 0, 0};
    GLenum textureEnvMode_ = GL_MODULATE;
    std::int32_t spareWord_ = 1;
    bool pickable_ = true;
};

} // namespace zelvane
