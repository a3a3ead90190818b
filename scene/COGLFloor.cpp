#include "scene/COGLFloor.h"

namespace zelvane {

COGLFloor::COGLFloor() : COGLPlane(ObjectKind::Floor)
{
    scale_ = {7.5f, 7.5f, 1.0f};
    RotateAxisAngle({1.0f, 0.0f, 0.0f}, 90.0f);
}

} // namespace zelvane
