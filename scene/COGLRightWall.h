#pragma once
// The wall along the room's +x side: 15 long, 3 high, facing into the room.

#include "scene/COGLPlane.h"

namespace zelvane {

class COGLRightWall : public COGLPlane {
public:
    COGLRightWall();
};

} // namespace zelvane
