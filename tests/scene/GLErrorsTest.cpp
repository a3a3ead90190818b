#include "scene/GLErrors.h"
#include "scene/HeadlessGLContext.h"
#include "tests/testkit/ScopedEnvironment.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>

namespace zelvane {
namespace {

// The debug log of this process goes to a private folder. The folder is fixed by
// the first message, so every case here calls NewLogText before it logs.
struct PrivateLogFolder {
    PrivateLogFolder()
    {
        std::string pattern = testing::TempDir() + "zelvane-scene-logs-XXXXXX";
        if (mkdtemp(pattern.data()))
            env.Set("ZELVANE_LOG_DIR", pattern);
        folder = pattern;
    }
    ~PrivateLogFolder() { std::filesystem::remove_all(folder); }

    test::ScopedEnvironment env;
    std::filesystem::path folder;
};

// What was logged since the previous call.
std::string NewLogText()
{
    static const PrivateLogFolder log;
    static std::size_t seen = 0;
    std::ifstream in(log.folder / "log.txt", std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    const std::string fresh = text.substr(std::min(seen, text.size()));
    seen = text.size();
    return fresh;
}

TEST(CheckGLError, WithoutACurrentContextLogsThatAndReportsTrue)
{
    NewLogText();
    EXPECT_TRUE(CheckGLError("After OnDraw"));
    EXPECT_EQ(NewLogText(), "ERROR: No Current Rendering Context at After OnDraw\n");
}

TEST(CheckGLError, LogsEachPendingErrorWithItsTagAndClearsIt)
{
    std::string error;
    auto context = HeadlessGLContext::Create(4, 4, error);
    ASSERT_NE(context, nullptr) << error;
    context->BeginGL();
    NewLogText();

    EXPECT_FALSE(CheckGLError("After OnDraw"));
    EXPECT_EQ(NewLogText(), "");

    glEnable(0xFFFF);
    EXPECT_TRUE(CheckGLError("After OnDraw"));
    EXPECT_EQ(NewLogText(), "After OnDraw Received an OpenGL Error 'invalid enumerant'\n");
    EXPECT_FALSE(CheckGLError("After OnDraw"));

    // Mesa keeps a single error flag: after the first error, later ones are
    // dropped until it is read. So twelve faulty calls leave one error here, and
    // the limit of 11 logged lines cannot be reached on this driver.
    for (int i = 0; i < 12; ++i)
        glLineWidth(-1.0f);
    EXPECT_TRUE(CheckGLError("Lines"));
    EXPECT_EQ(NewLogText(), "Lines Received an OpenGL Error 'invalid value'\n");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    context->EndGL();
}

} // namespace
} // namespace zelvane
