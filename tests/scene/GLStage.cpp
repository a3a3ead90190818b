#include "tests/scene/GLStage.h"

#include "scene/COGLScene.h"
#include "scene/COGLViewport3D.h"
#include "scene/SceneFrame.h"
#include "tests/testkit/TestFiles.h"
#include "tools/DefaultMaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace zelvane::test {

GLStage::GLStage(int width, int height) : context_(HeadlessGLContext::Create(width, height, error_))
{
    if (!context_)
        return;
    active_ = std::make_unique<ActiveGLContextScope>(*context_);
    context_->BeginGL();
}

GLStage::~GLStage()
{
    if (!context_)
        return;
    context_->EndGL();
    active_.reset();
}

PlainImage GLStage::Frame(COGLViewport3D& viewport, COGLScene& scene)
{
    DrawFrame(viewport, scene);
    return context_->ReadImage();
}

std::vector<std::string> RecordedMessages::Texts() const
{
    std::vector<std::string> texts;
    for (const RecordedMessage& message : recorder_.Messages())
        texts.push_back(message.text);
    return texts;
}

Rgb At(const PlainImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.Width() || y >= image.Height()) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") lies outside the " << image.Width() << " x "
                      << image.Height() << " picture";
        return {};
    }
    return image.PixelColour(x, y);
}

bool Near(const Rgb& a, const Rgb& b, int tolerance)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance
        && std::abs(a.blue - b.blue) <= tolerance;
}

ScreenPoint ToScreen(const COGLViewport3D& viewport, const Vector3& world)
{
    const COGLCamera3D& camera = viewport.Camera();
    const Vector3 eye = camera.ViewMatrix().TransformPoint(world);
    const OrthoVolume v = OrthoVolume::Of(viewport.Width(), viewport.Height(), camera.Distance(), false);
    const double ndcX = (2.0 * eye.x - (v.right + v.left)) / (v.right - v.left);
    const double ndcY = (2.0 * eye.y - (v.top + v.bottom)) / (v.top - v.bottom);
    const double x = (ndcX + 1.0) / 2.0 * viewport.Width();
    const double yUp = (ndcY + 1.0) / 2.0 * viewport.Height();
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(viewport.Height() - yUp))};
}

const std::string& TestMapsFolder()
{
    static const TempDir folder;
    static const std::string path = [] {
        const std::string error = WriteDefaultMaps(folder.Path().string());
        if (!error.empty())
            std::abort();
        return folder.Path().string() + "/";
    }();
    return path;
}

} // namespace zelvane::test
