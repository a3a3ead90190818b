#include "document/FootprintPlacement.h"

#include "scene/COGLMesh.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

namespace {

// A model lying on its back in a z-up file stands up with this turn.
constexpr float kZUpTurn = 90.0f;

} // namespace

Box3 FootprintBox(const CageSize& cage)
{
    const float w = static_cast<float>(cage.width) * 0.5f;
    const float d = static_cast<float>(cage.depth) * 0.5f;
    return Box3::Spanning({-w, 0.0f, -d}, {w, static_cast<float>(cage.height), d});
}

Vector3 OffsetOntoFootprint(const Box3& sceneBox, const CageSize& cage)
{
    if (sceneBox.IsEmpty())
        return {};
    const Vector3 middle = FootprintBox(cage).Centre();
    const Vector3 centre = sceneBox.Centre();
    return {middle.x - centre.x, -sceneBox.low.y, middle.z - centre.z};
}

void StandOnFootprint(COGLObject& object, const CageSize& cage)
{
    const Vector3 to = object.Position() + OffsetOntoFootprint(object.SceneBox(), cage);
    object.SetPosition(to.x, to.y, to.z);
}

void PlaceImportedMesh(COGLMesh& mesh, const ImportOptions& options, const CageSize& cage)
{
    const Box3 vertices = mesh.VertexBox();
    if (!vertices.IsEmpty()) {
        const Vector3 middle = vertices.Centre();
        mesh.MoveShape({-middle.x, -middle.y, -middle.z});
        // The cage spans the shape now centred on the origin.
        const Vector3 size = vertices.Size();
        mesh.SetExtent(size * 0.5f);
    }
    switch (options.up) {
    case ModelUpAxis::AsPlugin: break;
    case ModelUpAxis::Y: mesh.SetOrientation({}); break;
    case ModelUpAxis::Z: mesh.SetOrientation(Quaternion::FromAxisAngle({1.0f, 0.0f, 0.0f}, kZUpTurn)); break;
    }
    const float factor = options.scale > 0.0f && std::isfinite(options.scale) ? options.scale : 1.0f;
    const Vector3 imported = mesh.Scale();
    mesh.SetScale(imported.x * factor, imported.y * factor, imported.z * factor);
    mesh.SetPosition(0.0f, 0.0f, 0.0f);
    if (options.fitToFootprint) {
        const Vector3 size = mesh.SceneBox().Size();
        const Vector3 room = FootprintBox(cage).Size();
        // The larger of width and depth decides; a flat model (no width or
        // depth) keeps its size.
        float fit = 0.0f;
        if (size.x > 0.0f)
            fit = room.x / size.x;
        if (size.z > 0.0f)
            fit = fit > 0.0f ? std::min(fit, room.z / size.z) : room.z / size.z;
        if (fit > 0.0f && std::isfinite(fit)) {
            const Vector3 s = mesh.Scale();
            mesh.SetScale(s.x * fit, s.y * fit, s.z * fit);
        }
    }
    StandOnFootprint(mesh, cage);
}

} // namespace zelvane
