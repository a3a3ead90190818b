#include "scene/COGLBillboard.h"

namespace zelvane {

namespace {

constexpr GLfloat kAlphaThreshold = 0.1f;

} // namespace

COGLBillboard::COGLBillboard() : COGLPlane(ObjectKind::Billboard)
{
    scale_ = {1.0f, 1.0f, 1.0f};
}

void COGLBillboard::ApplyRotation() const
{
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            m[column * 4 + row] = column == row ? 1.0 : 0.0;
    glLoadMatrixd(m);
}

void COGLBillboard::Draw(DrawFlags flags)
{
    if (!IsVisible())
        return;
    glPushMatrix();
    ApplyPlacement();
    const GLuint list = (flags & kDrawWireframe) ? WireList() : SolidList();
    if (!(flags & kDrawShaded)) {
        glCallList(list);
    } else {
        // Colour material is put back as it was, so the objects drawn after a
        // billboard keep their own materials.
        const GLboolean colourMaterial = glIsEnabled(GL_COLOR_MATERIAL);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        glDisable(GL_COLOR_MATERIAL);
        if (Texture()) {
            glAlphaFunc(GL_GREATER, kAlphaThreshold);
            glEnable(GL_ALPHA_TEST);
            DrawTextured(list, GL_REPLACE, {TextureOffset(), TextureScale(), false});
            glDisable(GL_ALPHA_TEST);
        } else {
            glCallList(list);
        }
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
        if (colourMaterial)
            glEnable(GL_COLOR_MATERIAL);
    }
    if (flags & kDrawAxisMarkers)
        DrawAxes();
    glPopMatrix();
}

} // namespace zelvane
