#include "scene/COGLSphere.h"

namespace zelvane {

COGLSphere::COGLSphere() : COGLObject(ObjectKind::Sphere, PrimitiveLists::Of(ObjectKind::Sphere))
{
    SetPickList(PrimitiveLists::SpherePickingSolid());
}

void COGLSphere::PickByOutline()
{
    SetPickList(WireList());
}

} // namespace zelvane
