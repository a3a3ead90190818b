#pragma once
// The wall along the room's −z side: 15 long, 3 high, facing into the room.

#include "scene/COGLPlane.h"

namespace zelvane {

class COGLLeftWall : public COGLPlane {
public:
    COGLLeftWall();
};

} // namespace zelvane
