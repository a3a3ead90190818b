#include "scene/COGLLeftWall.h"

namespace zelvane {

COGLLeftWall::COGLLeftWall() : COGLPlane(ObjectKind::LeftWall)
{
    scale_ = {7.5f, 1.5f, 1.0f};
    SetPosition(0.0f, 1.5f, -7.5f);
}

} // namespace zelvane
