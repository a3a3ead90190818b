#pragma once
// A square of side 2 in its x-y plane facing +z, and the base of the floor,
// the walls, the ceiling, the disk and the billboard. A plane's scale z is
// always 1. A tessellated plane draws a 24 × 24 grid of triangle strips
// instead, with texture coordinates generated from its x and y.

#include "scene/COGLObject.h"

namespace zelvane {

class COGLPlane : public COGLObject {
public:
    COGLPlane();

    // Tessellated: always the grid (also in wireframe mode), textured through
    // generated coordinates.
    void Draw(DrawFlags flags) override;
    // The cage just in front of the surface.
    void DrawCage() override;

    // The common record and the `tessellated` byte.
    void SaveObject(SceneFileWriter& file, std::int32_t textureIndex) const override;
    std::int32_t LoadObject(SceneFileReader& file) override;

    // (scale x, scale y, 0).
    Vector3 GetScale() const override;
    // Stores x and y; z stays 1.
    void SetScale(float x, float y, float z) override;
    void SetScaleZ(float z) override;

    bool IsTessellated() const { return tessellated_; }
    void SetTessellated(bool tessellated) { tessellated_ = tessellated; }
    GLuint GridList() const { return gridList_; }

protected:
    // For the variants, which take every default the kind table does not
    // override, and the disk, which has lists of its own.
    explicit COGLPlane(ObjectKind kind);

private:
    GLuint gridList_;
    bool tessellated_ = false;
};

} // namespace zelvane
