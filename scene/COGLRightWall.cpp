#include "scene/COGLRightWall.h"

namespace zelvane {

COGLRightWall::COGLRightWall() : COGLPlane(ObjectKind::RightWall)
{
    scale_ = {7.5f, 1.5f, 1.0f};
    RotateAxisAngle({0.0f, 1.0f, 0.0f}, 90.0f);
    SetPosition(7.5f, 1.5f, 0.0f);
}

} // namespace zelvane
