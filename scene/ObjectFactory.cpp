#include "scene/ObjectFactory.h"

#include "scene/COGLBillboard.h"
#include "scene/COGLBox.h"
#include "scene/COGLCeiling.h"
#include "scene/COGLCone.h"
#include "scene/COGLCylinder.h"
#include "scene/COGLDisk.h"
#include "scene/COGLFloor.h"
#include "scene/COGLLeftWall.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLRightWall.h"
#include "scene/COGLRod.h"
#include "scene/COGLSphere.h"
#include "scene/COGLText.h"

namespace zelvane {

std::unique_ptr<COGLObject> CreateObjectOfKind(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Plane: return std::make_unique<COGLPlane>();
    case ObjectKind::Floor: return std::make_unique<COGLFloor>();
    case ObjectKind::Box: return std::make_unique<COGLBox>();
    case ObjectKind::Sphere: return std::make_unique<COGLSphere>();
    case ObjectKind::RightWall: return std::make_unique<COGLRightWall>();
    case ObjectKind::LeftWall: return std::make_unique<COGLLeftWall>();
    case ObjectKind::Ceiling: return std::make_unique<COGLCeiling>();
    case ObjectKind::Rod: return std::make_unique<COGLRod>();
    case ObjectKind::Cylinder: return std::make_unique<COGLCylinder>();
    case ObjectKind::Cone: return std::make_unique<COGLCone>();
    case ObjectKind::Disk: return std::make_unique<COGLDisk>();
    case ObjectKind::Billboard: return std::make_unique<COGLBillboard>();
    case ObjectKind::Text: return std::make_unique<COGLText>();
    case ObjectKind::Mesh:
        break;
    }
    return nullptr;
}

std::unique_ptr<COGLObject> CreateObjectToLoad(ObjectKind kind)
{
    if (kind == ObjectKind::Mesh)
        return std::make_unique<COGLMesh>();
    return CreateObjectOfKind(kind);
}

} // namespace zelvane
