#pragma once
// An off-screen OpenGL context for the rendering tests, active (for textures,
// lists and lights) and current for the stage's whole life, and what the tests
// look at in the pictures it draws.

#include "objects/Palette.h"
#include "objects/PlainImage.h"
#include "tests/testkit/RecordingReporter.h"
#include "scene/ActiveGLContext.h"
#include "scene/HeadlessGLContext.h"
#include "scene/math/Vector3.h"

#include <memory>
#include <string>

namespace zelvane {

class COGLScene;
class COGLViewport3D;

namespace test {

class GLStage {
public:
    GLStage(int width, int height);
    ~GLStage();
    GLStage(const GLStage&) = delete;
    GLStage& operator=(const GLStage&) = delete;

    // False (with Error()) when no off-screen context could be made.
    bool ok() const { return context_ != nullptr; }
    const std::string& Error() const { return error_; }
    HeadlessGLContext& Context() { return *context_; }

    // One frame as the view draws it, read back.
    PlainImage Frame(COGLViewport3D& viewport, COGLScene& scene);

private:
    std::string error_;
    std::unique_ptr<HeadlessGLContext> context_;
    std::unique_ptr<ActiveGLContextScope> active_;
};

// Shows messages to a recorder for its scope.
class RecordedMessages {
public:
    RecordedMessages() { SetReporter(&recorder_); }
    ~RecordedMessages() { SetReporter(nullptr); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    std::vector<std::string> Texts() const;

private:
    RecordingReporter recorder_;
};

// The pixel (x, y) from the top left.
Rgb At(const PlainImage& image, int x, int y);
// Pixels within `tolerance` in every channel.
bool Near(const Rgb& a, const Rgb& b, int tolerance);

// Where a world point lands in the viewport's picture: pixels from the top
// left, from the viewport's projection and camera (computed, not drawn).
struct ScreenPoint {
    int x;
    int y;
};
ScreenPoint ToScreen(const COGLViewport3D& viewport, const Vector3& world);

// The default floor and wall textures, drawn once per test process into a
// private folder.
const std::string& TestMapsFolder();

} // namespace test
} // namespace zelvane
