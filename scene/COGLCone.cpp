#include "scene/COGLCone.h"

namespace zelvane {

COGLCone::COGLCone() : COGLCylinder(ObjectKind::Cone)
{
    SetExtent({0.5f, 0.5f, 1.0f});
}

} // namespace zelvane
