#include "bake/BakeLighting.h"

#include "bake/GameCamera.h"

#include <GL/gl.h>

#include <array>

namespace zelvane {

namespace {

constexpr int kMaxLights = 8;

// The rig in the terms it was measured in: each light's direction as parts
// of the top's and the two sides' normals. The key lights the top and the
// left side and turns away from the right one; the fill lights the right
// side and a little of the top. The ambient and strengths give a material
// whose ambient equals its diffuse the real objects' ratios, 1.43 and 2.13,
// with the top of a white one at 209.
constexpr float kKeyTop = 5, kKeyLeft = 4, kKeyRight = -2;
constexpr float kFillTop = 2, kFillLeft = -2, kFillRight = 5;
constexpr float kKeyStrength = 0.83f;
constexpr float kFillStrength = 0.35f;
constexpr float kAmbient = 0.08f;

Vector3 Towards(const GameFaceNormals& n, float top, float left, float right)
{
    Vector3 v = n.top * top + n.left * left + n.right * right;
    v.Normalise();
    return v;
}

void SetLight(GLenum light, const BakeLightSource& source)
{
    const std::array<GLfloat, 4> none{0, 0, 0, 1};
    const std::array<GLfloat, 4> diffuse{source.diffuse, source.diffuse, source.diffuse, 1};
    const std::array<GLfloat, 4> specular{source.specular, source.specular, source.specular, 1};
    const std::array<GLfloat, 4> direction{source.towards.x, source.towards.y, source.towards.z, 0};
    glEnable(light);
    glLightfv(light, GL_AMBIENT, none.data());
    glLightfv(light, GL_DIFFUSE, diffuse.data());
    glLightfv(light, GL_SPECULAR, specular.data());
    glLightfv(light, GL_POSITION, direction.data());
    glLightf(light, GL_SPOT_CUTOFF, 180.0f);
    glLightf(light, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(light, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(light, GL_QUADRATIC_ATTENUATION, 0.0f);
}

} // namespace

GameFaceNormals FaceNormalsOfGameCamera()
{
    const Matrix4 view = GameCamera().ViewMatrix(2);
    GameFaceNormals normals;
    normals.top = view.TransformDirection({0, 1, 0});
    // Of the four sides, the two turned to the camera: the tile axes lie at
    // 45° to the screen, so one faces the lower left and one the lower right.
    for (const Vector3 side : {Vector3{1, 0, 0}, Vector3{-1, 0, 0}, Vector3{0, 0, 1}, Vector3{0, 0, -1}}) {
        const Vector3 n = view.TransformDirection(side);
        if (n.z > 0)
            (n.x < 0 ? normals.left : normals.right) = n;
    }
    return normals;
}

const BakeLighting& GameLighting()
{
    static const BakeLighting lighting = [] {
        const GameFaceNormals n = FaceNormalsOfGameCamera();
        BakeLighting l;
        l.key = {Towards(n, kKeyTop, kKeyLeft, kKeyRight), kKeyStrength, kKeyStrength};
        l.fill = {Towards(n, kFillTop, kFillLeft, kFillRight), kFillStrength, 0.0f};
        l.ambient = kAmbient;
        return l;
    }();
    return lighting;
}

void ApplyBakeLighting(const BakeLighting& lighting)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    SetLight(GL_LIGHT0, lighting.key);
    SetLight(GL_LIGHT1, lighting.fill);
    glPopMatrix();
    for (int i = 2; i < kMaxLights; ++i)
        glDisable(static_cast<GLenum>(GL_LIGHT0 + i));
    const std::array<GLfloat, 4> ambient{lighting.ambient, lighting.ambient, lighting.ambient, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient.data());
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
}

} // namespace zelvane
