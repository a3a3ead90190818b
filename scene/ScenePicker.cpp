#include "scene/ScenePicker.h"

#include "scene/ActiveGLContext.h"
#include "scene/COGLScene.h"
#include "scene/COGLViewport3D.h"
#include "scene/GLErrors.h"

#include <vector>

namespace zelvane {

namespace {

constexpr std::size_t kSelectionBufferWords = 512;
constexpr std::size_t kLargestSelectionBuffer = std::size_t{1} << 22;

} // namespace

std::optional<std::uint32_t> NearestHitName(std::span<const GLuint> buffer, int hits)
{
    std::optional<std::uint32_t> nearest;
    double bound = 2.0;
    std::size_t at = 0;
    for (int hit = 0; hit < hits; ++hit) {
        if (buffer.size() - at < 3)
            break;
        const std::size_t names = buffer[at];
        const double minimumDepth = static_cast<double>(buffer[at + 1]) / 4294967296.0;
        if (names > buffer.size() - at - 3)
            break;
        if (names > 0 && minimumDepth < bound) {
            bound = minimumDepth;
            nearest = buffer[at + 3];
        }
        at += 3 + names;
    }
    return nearest;
}

PickResult PickAt(COGLViewport3D& viewport, COGLScene& scene, int x, int y)
{
    // OpenGL counts rows from the bottom of the window, which is as high as
    // the viewport's top edge; then from the viewport's origin.
    const int clientHeight = viewport.Y() + viewport.Height();
    const double windowX = x - viewport.X();
    const double windowY = (clientHeight - y) - viewport.Y();

    IGLContext& context = ActiveGLContext();
    context.BeginGL();
    std::vector<GLuint> buffer(kSelectionBufferWords);
    GLint hits = -1;
    for (;;) {
        glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        viewport.DrawForPicking(windowX, windowY, scene);
        hits = glRenderMode(GL_RENDER);
        if (hits >= 0 || buffer.size() >= kLargestSelectionBuffer)
            break;
        buffer.resize(buffer.size() * 4);
    }

    PickResult result;
    result.name = NearestHitName(buffer, hits);
    if (result.name) {
        result.object = scene.FindPickable(*result.name);
        for (const auto& light : scene.Lights())
            if (light->Marker() && light->Marker()->Id() == *result.name)
                result.light = light.get();
    }
    CheckGLError("After Select");
    context.EndGL();
    return result;
}

} // namespace zelvane
