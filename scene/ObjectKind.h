#pragma once
// The kind code of every scene object, also the type code written before each
// object in the scene file. Code 12 belongs to no class.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvane {

enum class ObjectKind : std::int32_t {
    Plane = 0,
    Floor = 1,
    Box = 2,
    Sphere = 3,
    RightWall = 4,
    LeftWall = 5,
    Ceiling = 6,
    Text = 7,
    Rod = 8,
    Cylinder = 9,
    Cone = 10,
    Disk = 11,
    Billboard = 13,
    Mesh = 14,
};

// The kind of a stored code, or nothing for 12 and codes outside 0 to 14.
std::optional<ObjectKind> KindFromCode(std::int32_t code);

// The default name of an object of that kind ("Box", "Right Wall", ...).
std::string_view DefaultNameOf(ObjectKind kind);

// The kinds whose class is a plane variant (they store `tessellated`).
bool IsPlaneKind(ObjectKind kind);

} // namespace zelvane
