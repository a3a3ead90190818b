#pragma once
// A sphere of radius 1 (16 slices, 16 stacks), also the marker of a light.

#include "scene/COGLObject.h"

namespace zelvane {

class COGLSphere : public COGLObject {
public:
    // Picks with the sphere's solid shape drawn from our own geometry, which is
    // safe in select mode where Mesa may crash on a GLU sphere list.
    COGLSphere();

    // Picks with its wireframe list instead, as a light's marker does.
    void PickByOutline();
};

} // namespace zelvane
