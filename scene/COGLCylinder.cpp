#include "scene/COGLCylinder.h"

namespace zelvane {

COGLCylinder::COGLCylinder() : COGLCylinder(ObjectKind::Cylinder) {}

COGLCylinder::COGLCylinder(ObjectKind kind) : COGLObject(kind, PrimitiveLists::Of(kind))
{
    SetExtent({0.1f, 0.1f, 1.0f});
}

void COGLCylinder::DrawForPicking()
{
    if (Id() & kHiddenBit)
        return;
    glPushAttrib(GL_POLYGON_BIT);
    COGLObject::DrawForPicking();
    glPopAttrib();
}

void COGLCylinder::ApplyShapeOffset() const
{
    glTranslatef(0.0f, 0.0f, -scale_.z);
}

} // namespace zelvane
