#include "scene/SceneFrame.h"

#include "scene/COGLScene.h"
#include "scene/COGLViewport3D.h"
#include "scene/GLErrors.h"

namespace zelvane {

void DrawFrame(COGLViewport3D& viewport, COGLScene& scene)
{
    const ColourRGBA& background = scene.Background();
    glClearColor(background[0], background[1], background[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    viewport.Draw(scene);
    CheckGLError("After OnDraw");
}

} // namespace zelvane
