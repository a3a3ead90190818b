#pragma once
// A light: one of the eight OpenGL lights, shown in the view as a small
// wireframe sphere, its marker, which can be picked and moved like an object.
// The light sits where its marker is.

#include "scene/COGLObject.h"
#include "scene/SceneColours.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <string>

namespace zelvane {

// Byte layout of a light record (little-endian, 172 bytes).
namespace light_layout {
inline constexpr std::size_t kNameSize = 100; // at most 99 characters, NUL-filled
inline constexpr std::size_t kAmbientPos = 100;
inline constexpr std::size_t kDiffusePos = 116;
inline constexpr std::size_t kSpecularPos = 132;
inline constexpr std::size_t kPositionPos = 148;
inline constexpr std::size_t kPositionWPos = 160;
inline constexpr std::size_t kMarkerVisiblePos = 164;
inline constexpr std::size_t kEnabledPos = 168;
inline constexpr std::size_t kRecordSize = 172;
} // namespace light_layout

class COGLLight {
public:
    // Switches its OpenGL light off (in the active context) and frees its slot.
    virtual ~COGLLight();
    COGLLight(const COGLLight&) = delete;
    COGLLight& operator=(const COGLLight&) = delete;

    // Enables and places the OpenGL light, or switches it off when disabled.
    virtual void Apply() = 0;
    // The marker in wireframe, unlit, in the current colour.
    virtual void DrawMarker();
    // The marker under its own id as the picking name.
    virtual void DrawMarkerForPicking();
    // The 172-byte light record.
    virtual void SaveLight(ByteWriter& out) const;
    // Reads a light record; false (light unchanged) when it is cut short.
    virtual bool LoadLight(ByteReader& in);
    // Colours, marker position and fourth position component; the name becomes
    // "Copy of " and the source's name. Slot and switch are not copied.
    virtual void CopyFrom(const COGLLight& source);

    COGLObject* Marker() const { return marker_.get(); }
    const ColourRGBA& Ambient() const { return ambient_; }
    const ColourRGBA& Diffuse() const { return diffuse_; }
    const ColourRGBA& Specular() const { return specular_; }
    void SetAmbient(const ColourRGBA& colour) { ambient_ = colour; }
    void SetDiffuse(const ColourRGBA& colour) { diffuse_ = colour; }
    void SetSpecular(const ColourRGBA& colour) { specular_ = colour; }
    float PositionW() const { return positionW_; }
    GLenum GlLight() const { return glLight_; }
    // 0 to 7, or −1 when no slot was free (such a light stays dark).
    int Slot() const { return slot_; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

protected:
    // Takes the first free slot; when all eight are in use, shows "No more
    // lights are available." and takes none.
    COGLLight();

    std::unique_ptr<COGLObject> marker_;
    ColourRGBA ambient_{0.0f, 0.0f, 0.0f, 1.0f};
    ColourRGBA diffuse_{1.0f, 1.0f, 1.0f, 1.0f};
    ColourRGBA specular_{1.0f, 1.0f, 1.0f, 1.0f};
    float positionW_ = 1.0f;

private:
    GLenum glLight_ = GL_LIGHT0;
    int slot_ = -1;
    bool enabled_ = true;
    std::string name_;
};

} // namespace zelvane
