#pragma once
// The cylinder's tube without its two caps.

#include "scene/COGLCylinder.h"

namespace zelvane {

class COGLRod : public COGLCylinder {
public:
    COGLRod();
};

} // namespace zelvane
