#include "scene/HeadlessGLContext.h"
#include "scene/SceneColours.h"

#define EGL_NO_X11
#include <EGL/egl.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace zelvane {
namespace {

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

} // namespace
} // namespace zelvane
