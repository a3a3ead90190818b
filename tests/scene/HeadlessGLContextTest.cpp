#include "scene/HeadlessGLContext.h"
#include "scene/OpenGLInfo.h"
#include "scene/SceneColours.h"

#define EGL_NO_X11
#include <EGL/egl.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace zelvane {
namespace {

// A context whose brackets make nothing current.
class NoContext final : public IGLContext {
public:
    void BeginGL() override {}
    void EndGL() override {}
};

TEST(OpenGLInfo, ReadsTheContextsStringsInsideABracket)
{
    std::string error;
    auto context = HeadlessGLContext::Create(4, 4, error);
    ASSERT_NE(context, nullptr) << error;
    const OpenGLInfo info = ReadOpenGLInfo(*context);
    EXPECT_NE(info.version.find("Mesa"), std::string::npos) << info.version;
    EXPECT_FALSE(info.vendor.empty());
    EXPECT_FALSE(info.renderer.empty());
    EXPECT_NE(info.renderer, "(unknown)");
    EXPECT_EQ(context->Nesting(), 0);

    NoContext none;
    const OpenGLInfo unknown = ReadOpenGLInfo(none);
    EXPECT_EQ(unknown.version, "(unknown)");
    EXPECT_EQ(unknown.renderer, "(unknown)");
}

TEST(HeadlessGLContext, ClearsToTheSceneBackgroundAndReadsRowsBottomUp)
{
    std::string error;
    auto context = HeadlessGLContext::Create(8, 6, error);
    ASSERT_NE(context, nullptr) << error;

    context->BeginGL();
    glClearColor(kSceneBackground.red, kSceneBackground.green, kSceneBackground.blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Paint the lowest row only.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 8, 1);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    context->EndGL();

    const std::vector<std::uint8_t> pixels = context->ReadPixels();
    ASSERT_EQ(pixels.size(), 8u * 6u * 4u);
    const std::vector<std::uint8_t> firstRowPixel(pixels.begin(), pixels.begin() + 4);
    EXPECT_EQ(firstRowPixel, (std::vector<std::uint8_t>{0, 0, 255, 255}));
    const std::vector<std::uint8_t> topRightPixel(pixels.end() - 4, pixels.end());
    EXPECT_EQ(topRightPixel, (std::vector<std::uint8_t>{207, 200, 207, 255}));
}

TEST(HeadlessGLContext, NestedBracketsReleaseTheContextOnlyAtTheOutermostEnd)
{
    std::string error;
    auto context = HeadlessGLContext::Create(4, 4, error);
    ASSERT_NE(context, nullptr) << error;
    ASSERT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);

    context->BeginGL();
    const EGLContext ours = eglGetCurrentContext();
    EXPECT_NE(ours, EGL_NO_CONTEXT);
    context->BeginGL();
    context->EndGL();
    EXPECT_EQ(eglGetCurrentContext(), ours);
    // The framebuffer object, not the (absent) default framebuffer, is drawn to.
    GLint boundFramebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &boundFramebuffer);
    EXPECT_NE(boundFramebuffer, 0);
    context->EndGL();
    EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
}

TEST(HeadlessGLContext, FailsWithAMessageForABadSize)
{
    std::string error;
    EXPECT_EQ(HeadlessGLContext::Create(1 << 20, 1 << 20, error), nullptr);
    EXPECT_NE(error.find("framebuffer"), std::string::npos) << error;
}

TEST(HeadlessGLContext, FailsWithAMessageWithoutEgl)
{
    // The EGL loader reads its vendor list once per process, so the case runs in
    // a freshly started process whose loader finds no vendor.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("__EGL_VENDOR_LIBRARY_FILENAMES", "/nonexistent/egl_vendor.json", 1);
            unsetenv("__EGL_VENDOR_LIBRARY_DIRS");
            std::string noEgl;
            const bool failedCleanly = HeadlessGLContext::Create(4, 4, noEgl) == nullptr && !noEgl.empty();
            std::fprintf(stderr, "%s\n", noEgl.c_str());
            std::_Exit(failedCleanly ? 0 : 1);
        },
        testing::ExitedWithCode(0), "EGL");
    GTEST_FLAG_SET(death_test_style, style);
}

// The smoke test of the way the scene draws and picks: a GLU sphere and a
// light marker seen through a perspective camera. The sphere is drawn
// immediately: Mesa's rasteriser crashes when select mode calls a display list
// holding a many-stack GLU sphere. The marker is a display list of our own
// geometry, which select mode may call.
class DrawAndPick : public testing::Test {
protected:
    static constexpr int kSize = 96;
    static constexpr GLuint kSphereName = 7;
    static constexpr GLuint kMarkerName = 9;
    static constexpr GLdouble kMarkerAt[3] = {1.4, -1.3, 0.0};

    void SetUp() override
    {
        std::string error;
        context_ = HeadlessGLContext::Create(kSize, kSize, error);
        ASSERT_NE(context_, nullptr) << error;
        context_->BeginGL();
        quadric_ = gluNewQuadric();
        markerList_ = glGenLists(1);
        glNewList(markerList_, GL_COMPILE);
        const GLdouble s = 0.15;
        for (const GLdouble tip : {s, -s}) {
            glBegin(GL_TRIANGLE_FAN);
            glVertex3d(kMarkerAt[0], kMarkerAt[1] + tip, 0.0);
            for (const auto& [x, z] : {std::array{s, 0.0}, {0.0, s}, {-s, 0.0}, {0.0, -s}, {s, 0.0}})
                glVertex3d(kMarkerAt[0] + x, kMarkerAt[1], z);
            glEnd();
        }
        glEndList();
    }

    void TearDown() override
    {
        if (!context_)
            return;
        glDeleteLists(markerList_, 1);
        gluDeleteQuadric(quadric_);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        context_->EndGL();
    }

    // Multiplies the camera onto the current projection and leaves the
    // model-view matrix current: the sphere's centre lands on the middle pixel.
    static void SetCamera()
    {
        gluPerspective(45.0, 1.0, 1.0, 20.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslated(0.0, 0.0, -5.0);
    }

    void DrawScene()
    {
        glLoadName(kSphereName);
        gluSphere(quadric_, 1.0, 32, 16);
        glLoadName(kMarkerName);
        glCallList(markerList_);
    }

    // The names hit by a 5 x 5 pixel pick around window position (x, y).
    std::vector<GLuint> Pick(GLdouble x, GLdouble y)
    {
        std::array<GLuint, 64> buffer{};
        glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPickMatrix(x, y, 5.0, 5.0, viewport);
        SetCamera();
        DrawScene();
        const GLint hits = glRenderMode(GL_RENDER);
        EXPECT_GE(hits, 0) << "selection buffer overflow";

        // Each hit record: name count, nearest and farthest depth, the names.
        std::vector<GLuint> names;
        for (GLint hit = 0, at = 0; hit < hits; ++hit, at += 3 + static_cast<GLint>(buffer[at]))
            names.insert(names.end(), buffer.data() + at + 3, buffer.data() + at + 3 + buffer[at]);
        return names;
    }

    std::unique_ptr<HeadlessGLContext> context_;
    GLUquadric* quadric_ = nullptr;
    GLuint markerList_ = 0;
};

TEST_F(DrawAndPick, DrawsTheSphereAndPicksItAndTheLightMarkerButNothingInACorner)
{
    glClearColor(kSceneBackground.red, kSceneBackground.green, kSceneBackground.blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SetCamera();
    glColor3ub(204, 77, 51);
    DrawScene();
    const std::vector<std::uint8_t> pixels = context_->ReadPixels();
    auto pixel = [&](int x, int y) {
        const std::size_t at = (static_cast<std::size_t>(y) * kSize + static_cast<std::size_t>(x)) * 4;
        return std::array<int, 3>{pixels[at], pixels[at + 1], pixels[at + 2]};
    };
    EXPECT_EQ(pixel(kSize / 2, kSize / 2), (std::array<int, 3>{204, 77, 51}));
    EXPECT_EQ(pixel(0, kSize - 1), (std::array<int, 3>{207, 200, 207}));

    GLdouble modelView[16], projection[16], markerX = 0, markerY = 0, markerZ = 0;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(kMarkerAt[0], kMarkerAt[1], kMarkerAt[2], modelView, projection, viewport, &markerX, &markerY, &markerZ);

    EXPECT_EQ(Pick(kSize / 2, kSize / 2), std::vector<GLuint>{kSphereName});
    EXPECT_EQ(Pick(markerX, markerY), std::vector<GLuint>{kMarkerName});
    EXPECT_EQ(Pick(3.0, kSize - 3.0), std::vector<GLuint>{});
}

} // namespace
} // namespace zelvane
