#pragma once
// A plane 6 units up, facing down.

#include "scene/COGLPlane.h"

namespace zelvane {

class COGLCeiling : public COGLPlane {
public:
    COGLCeiling();
};

} // namespace zelvane
