#include "scene/COGLBox.h"

namespace zelvane {

COGLBox::COGLBox() : COGLObject(ObjectKind::Box, PrimitiveLists::Of(ObjectKind::Box))
{
    scale_ = {0.5f, 0.5f, 0.5f};
    SetPosition(0.0f, 0.5f, 0.0f);
}

void COGLBox::DrawCage()
{
    if (!IsVisible())
        return;
    glPushMatrix();
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_POLYGON_OFFSET_LINE);
    glPolygonOffset(-2.0f, 0.1f);
    glDisable(GL_LIGHTING);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 0.0f, 0.0f);
    ApplyCagePlacement();
    glCallList(SolidList());
    DrawAxes();
    glDisable(GL_POLYGON_OFFSET_LINE);
    glPopAttrib();
    glPopMatrix();
}

} // namespace zelvane
