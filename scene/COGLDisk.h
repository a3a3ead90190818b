#pragma once
// A disk of radius 1 in its x-y plane facing +z; a plane in every other way.

#include "scene/COGLPlane.h"

namespace zelvane {

class COGLDisk : public COGLPlane {
public:
    COGLDisk();
};

} // namespace zelvane
