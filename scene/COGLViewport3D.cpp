#include "scene/COGLViewport3D.h"

#include "scene/COGLScene.h"

#include <GL/glu.h>

namespace zelvane {

namespace {

constexpr double kNearPlane = -1000.0;
constexpr double kFarPlaneWide = 10000.0;
constexpr double kFarPlane = 1000.0;
constexpr float kGridHalfSide = 7.5f;
constexpr int kGridLines = 16;
constexpr double kAxisMarkerInset = 0.065; // of the width, from the lower-left corner
constexpr double kAxisMarkerDepth = 0.95;
constexpr float kAxisMarkerScale = 3.0f;

// The axis marker's line pairs in colour groups: red x, green y, blue z, each
// an axis and its letter.
struct AxisLines {
    float colour[3];
    int count;
    float points[8][3];
};
constexpr AxisLines kAxisMarker[] = {
    {{1, 0, 0}, 6, {{0, 0, 0}, {0.125f, 0, 0}, {0.16f, 0.025f, 0}, {0.13f, -0.025f, 0}, {0.13f, 0.025f, 0}, {0.16f, -0.025f, 0}}},
    {{0, 1, 0},
     8,
     {{0, 0, 0}, {0, 0.125f, 0}, {-0.02f, 0.18f, 0}, {0, 0.16f, 0}, {0.02f, 0.18f, 0}, {0, 0.16f, 0}, {0, 0.16f, 0}, {0, 0.135f, 0}}},
    {{0, 0, 1},
     8,
     {{0, 0, 0}, {0, 0, 0.125f}, {-0.02f, 0, 0.14f}, {0.02f, 0, 0.14f}, {0.02f, 0, 0.14f}, {-0.02f, 0, 0.18f}, {-0.02f, 0, 0.18f}, {0.02f, 0, 0.18f}}},
};

// Overlays are unlit lines in the current colour.
void BeginOverlay()
{
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_LINE_SMOOTH);
    glEnable(GL_COLOR_MATERIAL);
    glPushMatrix();
}

void EndOverlay()
{
    glPopMatrix();
    glPopAttrib();
}

} // namespace

OrthoVolume OrthoVolume::Of(int width, int height, float distance, bool picking)
{
    const double d = distance;
    if (width > height) {
        const double aspect = static_cast<double>(width) / height;
        return {-d * aspect, d * aspect, -d, d, kNearPlane, picking ? kFarPlane : kFarPlaneWide};
    }
    const double aspect = static_cast<double>(height) / width;
    return {-d, d, -d * aspect, d * aspect, kNearPlane, kFarPlane};
}

void COGLViewport3D::LoadProjection(bool picking) const
{
    const OrthoVolume volume = OrthoVolume::Of(width_, height_, camera_.Distance(), picking);
    glOrtho(volume.left, volume.right, volume.bottom, volume.top, volume.nearPlane, volume.farPlane);
}

void COGLViewport3D::ApplyRenderStates(COGLScene& scene) const
{
    if (depthFunction_ != 0) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(depthFunction_);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    if (cullFace_ != 0) {
        glCullFace(cullFace_);
        glEnable(GL_CULL_FACE);
    } else {
        glDisable(GL_CULL_FACE);
    }
    if (lighting_) {
        scene.ApplyAmbient();
        glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
        glEnable(GL_AUTO_NORMAL);
        glEnable(GL_NORMALIZE);
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
        glDisable(GL_AUTO_NORMAL);
        glDisable(GL_NORMALIZE);
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_POINT_SMOOTH);
    }
    glShadeModel(shadeModel_);
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode_);
}

void COGLViewport3D::Draw(COGLScene& scene)
{
    if (!visible_ || width_ < 1 || height_ < 1)
        return;
    glViewport(x_, y_, width_, height_);
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT);
    ApplyRenderStates(scene);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    LoadProjection(false);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera_.Apply();
    if (IsWireframe()) {
        if (grid_)
            DrawGrid();
        if (cage_)
            DrawCage();
    }
    if (axis_)
        DrawAxisMarker();
    scene.Draw(displayMode_, camera_);
    glPopAttrib();
}

void COGLViewport3D::DrawForPicking(double x, double y, COGLScene& scene)
{
    if (width_ < 1 || height_ < 1)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    GLint viewport[4] = {0, 0, width_, height_};
    gluPickMatrix(x, y, kPickRegion, kPickRegion, viewport);
    LoadProjection(true);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera_.Apply();
    scene.DrawForPicking();
}

void COGLViewport3D::DrawGrid()
{
    BeginOverlay();
    glTranslatef(-kGridHalfSide, 0.0f, -kGridHalfSide);
    glColor3fv(kObjectColour.data());
    const auto side = static_cast<float>(kGridLines - 1);
    glBegin(GL_LINES);
    for (int i = 0; i < kGridLines; ++i) {
        const auto at = static_cast<float>(i);
        glVertex3f(at, 0.0f, 0.0f);
        glVertex3f(at, 0.0f, side);
        glVertex3f(0.0f, 0.0f, at);
        glVertex3f(side, 0.0f, at);
    }
    glEnd();
    EndOverlay();
}

void COGLViewport3D::DrawCage()
{
    const auto w = static_cast<float>(cageSize_.width);
    const auto h = static_cast<float>(cageSize_.height);
    const auto d = static_cast<float>(cageSize_.depth);
    BeginOverlay();
    glColor3f(0.0f, 0.0f, 1.0f);
    glTranslatef(-w / 2.0f, 0.0f, -d / 2.0f);
    glLineWidth(2.0f);
    // The bottom and the four sides; the top is left open.
    const float outlines[5][4][3] = {
        {{0, 0, 0}, {w, 0, 0}, {w, 0, d}, {0, 0, d}},
        {{0, 0, 0}, {0, h, 0}, {0, h, d}, {0, 0, d}},
        {{0, 0, 0}, {0, h, 0}, {w, h, 0}, {w, 0, 0}},
        {{w, 0, 0}, {w, h, 0}, {w, h, d}, {w, 0, d}},
        {{w, 0, d}, {w, h, d}, {0, h, d}, {0, 0, d}},
    };
    for (const auto& outline : outlines) {
        glBegin(GL_LINE_LOOP);
        for (const auto& corner : outline)
            glVertex3fv(corner);
        glEnd();
    }
    glLineWidth(1.0f);
    EndOverlay();
}

void COGLViewport3D::DrawAxisMarker()
{
    glPushMatrix();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
    GLdouble modelView[16], projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const GLint viewport[4] = {x_, y_, width_, height_};
    const int offset = static_cast<int>(width_ * kAxisMarkerInset);
    GLdouble at[3] = {0, 0, 0};
    gluUnProject(x_ + offset, y_ + offset, kAxisMarkerDepth, modelView, projection, viewport, &at[0], &at[1], &at[2]);
    glTranslated(at[0], at[1], at[2]);
    glScalef(kAxisMarkerScale, kAxisMarkerScale, kAxisMarkerScale);
    if (axisList_ != 0) {
        glCallList(axisList_);
    } else {
        axisList_ = glGenLists(1);
        glNewList(axisList_, GL_COMPILE_AND_EXECUTE);
        glBegin(GL_LINES);
        for (const AxisLines& axis : kAxisMarker) {
            glColor3fv(axis.colour);
            for (int i = 0; i < axis.count; ++i)
                glVertex3fv(axis.points[i]);
        }
        glEnd();
        glEndList();
    }
    glPopAttrib();
    glPopMatrix();
}

void COGLViewport3D::Fill(const ColourRGB& colour)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(x_, y_, width_, height_);
    glColor3fv(colour.data());
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

} // namespace zelvane
