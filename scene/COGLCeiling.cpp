#include "scene/COGLCeiling.h"

namespace zelvane {

COGLCeiling::COGLCeiling() : COGLPlane(ObjectKind::Ceiling)
{
    RotateAxisAngle({1.0f, 0.0f, 0.0f}, -90.0f);
    SetPosition(0.0f, 6.0f, 0.0f);
}

} // namespace zelvane
