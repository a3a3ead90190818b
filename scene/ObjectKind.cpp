#include "scene/ObjectKind.h"

namespace zelvane {

std::optional<ObjectKind> KindFromCode(std::int32_t code)
{
    if (code < 0 || code > 14 || code == 12)
        return std::nullopt;
    return static_cast<ObjectKind>(code);
}

std::string_view DefaultNameOf(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Plane: return "Plane";
    case ObjectKind::Floor: return "Floor";
    case ObjectKind::Box: return "Box";
    case ObjectKind::Sphere: return "Sphere";
    case ObjectKind::RightWall: return "Right Wall";
    case ObjectKind::LeftWall: return "Left Wall";
    case ObjectKind::Ceiling: return "Ceiling";
    case ObjectKind::Text: return "Text";
    case ObjectKind::Rod: return "Rod";
    case ObjectKind::Cylinder: return "Cylinder";
    case ObjectKind::Cone: return "Cone";
    case ObjectKind::Disk: return "Disk";
    case ObjectKind::Billboard: return "Billboard";
    case ObjectKind::Mesh: return "Mesh";
    }
    return "";
}

bool IsPlaneKind(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Plane:
    case ObjectKind::Floor:
    case ObjectKind::RightWall:
    case ObjectKind::LeftWall:
    case ObjectKind::Ceiling:
    case ObjectKind::Disk:
    case ObjectKind::Billboard:
        return true;
    default:
        return false;
    }
}

} // namespace zelvane
