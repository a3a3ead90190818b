#pragma once
// A positional light, marked by a small grey sphere that picks by its lines.

#include "scene/COGLLight.h"

namespace zelvane {

class COGLPointLight : public COGLLight {
public:
    // A light named "Point" at (x, y, z). The marker is made in the current
    // context like any sphere.
    COGLPointLight(float x, float y, float z);

    // When enabled: switches its OpenGL light on with its colours and puts it
    // at the marker's position (transformed by the current modelview matrix);
    // otherwise switches it off. A light without a slot does nothing.
    void Apply() override;
};

} // namespace zelvane
