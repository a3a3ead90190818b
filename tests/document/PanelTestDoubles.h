#pragma once
// Stand-ins for what the panels work with: a view holding a scene, a cage
// size and a zoom preset, counting its redraws; and an object of the mesh
// kind with its own mesh set, standing in for an imported mesh.

#include "document/IPanelView.h"
#include "plugins/interface/MeshSet.h"
#include "scene/COGLObject.h"
#include "scene/COGLScene.h"

namespace zelvane::test {

class TestPanelView final : public IPanelView {
public:
    COGLScene* Scene() override { return &scene; }
    CageSize GetCageSize() const override { return cage; }
    void SetCageSize(const CageSize& size) override { cage = size; }
    ZoomPreset GetZoomPreset() const override { return zoom; }
    void SetZoomPreset(ZoomPreset preset) override { zoom = preset; }
    void Redraw() override { ++redraws; }

    COGLScene scene;
    CageSize cage;
    ZoomPreset zoom = ZoomPreset::Medium;
    int redraws = 0;
};

class TestMesh final : public COGLObject {
public:
    TestMesh() : COGLObject(ObjectKind::Mesh, KindLists{}) {}
    MeshSet set{};
};

inline const MeshSet* MeshSetOfTestMesh(const COGLObject& object)
{
    const auto* mesh = dynamic_cast<const TestMesh*>(&object);
    return mesh ? &mesh->set : nullptr;
}

} // namespace zelvane::test
