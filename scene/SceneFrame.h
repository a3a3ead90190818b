#pragma once
// One frame of the scene as the view draws it: cleared to the scene's
// background, then drawn through the viewport.

namespace zelvane {

class COGLScene;
class COGLViewport3D;

// Clears colour (the scene's background with alpha 1) and depth, has the
// viewport draw the scene, and logs OpenGL errors under "After OnDraw". The
// context is current.
void DrawFrame(COGLViewport3D& viewport, COGLScene& scene);

} // namespace zelvane
