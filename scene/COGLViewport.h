#pragma once
// A rectangle of the view's window in which the scene is drawn through one
// camera, with its own render states and overlays (grid, footprint cage, axis
// marker), and in which it is picked.

#include "scene/COGLCamera3D.h"
#include "scene/DrawFlags.h"
#include "scene/SceneColours.h"

#include <GL/gl.h>

namespace zelvane {

class COGLScene;

// The footprint cage's size in whole units: width along x, height along y,
// depth along z.
struct CageSize {
    int width = 1;
    int height = 1;
    int depth = 1;
};

class COGLViewport {
public:
    virtual ~COGLViewport() = default;
    COGLViewport(const COGLViewport&) = delete;
    COGLViewport& operator=(const COGLViewport&) = delete;

    // Draws the scene once (the context is current); nothing when not visible.
    virtual void Draw(COGLScene& scene) = 0;
    // The scene's picking pass with a 5 × 5 pixel pick region centred on
    // (x, y), in OpenGL window coordinates relative to the viewport's origin;
    // the caller has entered selection mode.
    virtual void DrawForPicking(double x, double y, COGLScene& scene) = 0;
    virtual bool IsTwoDimensional() const = 0;
    virtual void DrawGrid() = 0;
    // Paints the whole rectangle as one quad in `colour`.
    virtual void Fill(const ColourRGB& colour) = 0;

    // In window pixels; the view sets it to its client area on every resize.
    void SetRectangle(int x, int y, int width, int height);
    int X() const { return x_; }
    int Y() const { return y_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    COGLCamera3D& Camera() { return camera_; }
    const COGLCamera3D& Camera() const { return camera_; }

    bool Grid() const { return grid_; }
    void SetGrid(bool on) { grid_ = on; }
    bool Cage() const { return cage_; }
    void SetCage(bool on) { cage_ = on; }
    bool Axis() const { return axis_; }
    void SetAxis(bool on) { axis_ = on; }
    bool IsVisible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    const CageSize& CageDimensions() const { return cageSize_; }
    void SetCageSize(const CageSize& size) { cageSize_ = size; }
    // Shown by the field-of-view readout; the orthographic projection does
    // not use it.
    float FieldOfView() const { return fieldOfView_; }
    void SetFieldOfView(float degrees) { fieldOfView_ = degrees; }

    // kDisplayWireframe: unlit lines, flat, no culling; kDisplayShaded: lit,
    // filled, smooth, back faces culled. Both test depth less-or-equal.
    void SetDisplayMode(DrawFlags mode);
    DrawFlags DisplayMode() const { return displayMode_; }
    bool IsWireframe() const { return (displayMode_ & kDrawWireframe) != 0; }

protected:
    // Visible, grid and axis on, cage off, wireframe, field of view 45.
    COGLViewport();

    int x_ = 0;
    int y_ = 0;
    int width_ = 0;
    int height_ = 0;
    COGLCamera3D camera_;
    bool grid_ = true;
    bool cage_ = false;
    bool visible_ = true;
    float fieldOfView_ = 45.0f;
    bool lighting_ = false;
    bool axis_ = true;
    GLenum polygonMode_ = GL_LINE;
    GLenum shadeModel_ = GL_FLAT;
    GLenum depthFunction_ = GL_LEQUAL; // 0: no depth test
    GLenum cullFace_ = 0;              // 0: no culling
    DrawFlags displayMode_ = kDisplayWireframe;
    GLuint axisList_ = 0;
    CageSize cageSize_;
};

} // namespace zelvane
