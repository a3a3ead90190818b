#pragma once
// A cone 2 long, from its tip to a capped base of radius 0.5, centred on its
// position like the cylinder.

#include "scene/COGLCylinder.h"

namespace zelvane {

class COGLCone : public COGLCylinder {
public:
    COGLCone();
};

} // namespace zelvane
