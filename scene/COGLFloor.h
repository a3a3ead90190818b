#pragma once
// The room's floor: a plane 15 × 15 turned to face up, centred on the origin.

#include "scene/COGLPlane.h"

namespace zelvane {

class COGLFloor : public COGLPlane {
public:
    COGLFloor();
};

} // namespace zelvane
