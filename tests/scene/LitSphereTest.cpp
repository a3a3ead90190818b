// Draws and picks the way the scene will: a lit GLU sphere and a small light
// marker seen through a perspective camera, on the headless context.

#include "scene/HeadlessGLContext.h"
#include "scene/SceneColours.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace zelvane {
namespace {

constexpr int kSize = 96;
constexpr GLuint kSphereName = 7;
constexpr GLuint kMarkerName = 9;
constexpr GLdouble kMarkerAt[3] = {1.4, -1.3, 0.0};

class LitSphere : public testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        context_ = HeadlessGLContext::Create(kSize, kSize, error);
        ASSERT_NE(context_, nullptr) << error;
        context_->BeginGL();
        quadric_ = gluNewQuadric();
    }

    void TearDown() override
    {
        if (!context_)
            return;
        gluDeleteQuadric(quadric_);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        context_->EndGL();
    }

    // Multiplies the camera onto the current projection; leaves the model-view
    // matrix current. The sphere's centre lands on the middle pixel.
    static void SetCamera()
    {
        gluPerspective(45.0, 1.0, 1.0, 20.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslated(0.0, 0.0, -5.0);
    }

    // A light's marker: a small double pyramid of triangle fans in a display list
    // of our own geometry, which select mode may call safely.
    static GLuint BuildMarkerList()
    {
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        const GLdouble s = 0.15;
        for (const GLdouble tip : {s, -s}) {
            glBegin(GL_TRIANGLE_FAN);
            glVertex3d(kMarkerAt[0], kMarkerAt[1] + tip, 0.0);
            for (const auto& [x, z] : {std::array{s, 0.0}, {0.0, s}, {-s, 0.0}, {0.0, -s}, {s, 0.0}})
                glVertex3d(kMarkerAt[0] + x, kMarkerAt[1], z);
            glEnd();
        }
        glEndList();
        return list;
    }

    // The names hit by a 5 x 5 pixel pick around window position (x, y). The
    // sphere is drawn immediately: Mesa's rasteriser crashes when select mode
    // calls a display list holding a many-stack GLU sphere.
    std::vector<GLuint> Pick(GLdouble x, GLdouble y, GLuint markerList)
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
        glLoadName(kSphereName);
        gluSphere(quadric_, 1.0, 32, 16);
        glLoadName(kMarkerName);
        glCallList(markerList);
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
};

TEST_F(LitSphere, IsShadedBrighterOnTheLitSideAndLeavesTheCornersClear)
{
    // The scene builds each primitive's display list once and calls it to draw.
    const GLuint sphereList = glGenLists(1);
    glNewList(sphereList, GL_COMPILE);
    gluSphere(quadric_, 1.0, 32, 16);
    glEndList();

    glClearColor(kSceneBackground.red, kSceneBackground.green, kSceneBackground.blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SetCamera();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat fromUpperLeftFront[4] = {-1.0f, 1.0f, 1.0f, 0.0f};
    const GLfloat red[4] = {0.8f, 0.3f, 0.2f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, fromUpperLeftFront);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, red);
    glCallList(sphereList);
    glDisable(GL_LIGHTING);
    glDeleteLists(sphereList, 1);

    const std::vector<std::uint8_t> pixels = context_->ReadPixels();
    auto pixel = [&](int x, int y) {
        const std::size_t at = (static_cast<std::size_t>(y) * kSize + static_cast<std::size_t>(x)) * 4;
        return std::array<int, 3>{pixels[at], pixels[at + 1], pixels[at + 2]};
    };
    const std::array<int, 3> background{207, 200, 207};
    EXPECT_EQ(pixel(0, 0), background);
    EXPECT_EQ(pixel(kSize - 1, kSize - 1), background);

    const int centre = kSize / 2;
    const std::array<int, 3> middle = pixel(centre, centre);
    EXPECT_GT(middle[0], 2 * middle[1]) << "the material is red";
    // A third of the radius towards the light and away from it (rows grow upwards).
    const std::array<int, 3> litSide = pixel(centre - 8, centre + 8);
    const std::array<int, 3> farSide = pixel(centre + 8, centre - 8);
    EXPECT_GT(litSide[0], farSide[0] + 40);
    EXPECT_GT(farSide[0], 0) << "the far side still has the ambient light";
}

TEST_F(LitSphere, PickingFindsTheSphereAndTheLightMarkerButNothingInACorner)
{
    const GLuint markerList = BuildMarkerList();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SetCamera();
    GLdouble modelView[16], projection[16], markerX = 0, markerY = 0, markerZ = 0;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(kMarkerAt[0], kMarkerAt[1], kMarkerAt[2], modelView, projection, viewport, &markerX, &markerY, &markerZ);

    EXPECT_EQ(Pick(kSize / 2, kSize / 2, markerList), std::vector<GLuint>{kSphereName});
    EXPECT_EQ(Pick(markerX, markerY, markerList), std::vector<GLuint>{kMarkerName});
    EXPECT_EQ(Pick(3.0, kSize - 3.0, markerList), std::vector<GLuint>{});
    glDeleteLists(markerList, 1);
}

} // namespace
} // namespace zelvane
