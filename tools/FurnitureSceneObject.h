#pragma once
// The sample game's furniture models (FurnitureModels.h) as objects of the
// editor's scene, so that the scene can be rendered into the same sprites
// the software rasteriser draws, and so that large meshes can be built for
// benchmarks before scene files bring meshes of their own.
//
// The models' tile frame is laid on the scene as the game's camera sees it:
// tile x along −z, tile y along +x, up along +y (bake/GameCamera.h). Every
// triangle is cut until no edge is longer than `finestEdge`, and every corner
// takes its material's pattern colour there, so that wood grain and weave
// show as the rasteriser paints them. Surfaces are lit on both sides, as the
// rasteriser lights whichever side faces the camera.

#include "scene/COGLObject.h"
#include "tools/FurnitureMesh.h"

#include <GL/gl.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace zelvane {

class FurnitureSceneObject : public COGLObject {
public:
    enum class Part { Solid, SeenThrough };

    // The triangles of `mesh` whose material is (not) seen through; builds a
    // display list in the current context.
    FurnitureSceneObject(const FurnitureMesh& mesh, Part part, float finestEdge);
    ~FurnitureSceneObject() override;

    void Draw(DrawFlags flags) override;
    void DrawForPicking() override;

    size_t TriangleCount() const { return triangles_; }
    bool Empty() const { return triangles_ == 0; }

private:
    GLuint list_ = 0;
    size_t triangles_ = 0;
};

// The model as the scene's objects: the solid part, and the seen-through part
// (transparent) when it has one.
std::vector<std::unique_ptr<FurnitureSceneObject>> MakeFurnitureObjects(const FurnitureMesh& mesh, float finestEdge);

} // namespace zelvane
