#pragma once
// The values of an object's common record in a scene file, as stored: what a
// scene file and a scene's description both carry for every object (the
// texture is stored by its position among the scene's textures, apart).

#include "scene/SceneColours.h"
#include "scene/math/Quaternion.h"
#include "scene/math/Vector3.h"

#include <cstdint>
#include <string>

namespace zelvane {

struct ObjectRecord {
    std::string name;
    ColourRGBA ambient{};
    ColourRGBA diffuse{};
    ColourRGBA specular{};
    ColourRGBA emission{};
    float shininess = 0.0f;
    Quaternion orientation;
    Vector3 scale{1, 1, 1};
    Vector3 position{0, 0, 0};
    bool visible = true;
    bool transparent = false;
    bool marked = false;
    std::int32_t pickStyle = 0;
    std::uint32_t flags = 0;
    Vector3 textureRotation{0, 0, 0};
    Vector3 textureScale{1, 1, 1};
    Vector3 textureOffset{0, 0, 0};
    std::uint32_t textureEnvMode = 0;
    std::int32_t spareWord = 0;
};

} // namespace zelvane
