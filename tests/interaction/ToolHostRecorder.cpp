#include "tests/interaction/ToolHostRecorder.h"

#include "scene/COGLViewport3D.h"
#include "scene/SceneFrame.h"

namespace zelvane::test {

PickResult ToolHostRecorder::Pick(int x, int y)
{
    events.push_back("pick");
    // The picking pass needs the camera's vectors of a drawn frame.
    DrawFrame(viewport_, scene_);
    return PickAt(viewport_, scene_, x, y);
}

} // namespace zelvane::test
