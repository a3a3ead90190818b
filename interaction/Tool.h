#pragma once
// The view's mouse tools, by the number the view keeps, with their commands
// and the names the status bar shows.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvane {

enum class Tool : std::int32_t {
    Move = 0,
    Rotate = 1,
    Scale = 2,
    Pan = 3,
    Orbit = 4,
    Zoom = 5,
    Select = 6,
    TextureMove = 7,
    TextureScale = 8,
    TextureRotate = 9,
    FieldOfView = 10,
};
inline constexpr int kToolCount = 11;

// The three axes the "Mouse Effects" switches choose, as the screen sees
// them: x left-right, y up-down, z in-out.
enum class Axis : std::int32_t { X = 0, Y = 1, Z = 2 };
using AxisSwitches = std::array<bool, 3>;

// "Move", "Texture Rotate", ...
std::string_view ToolName(Tool tool);
int ToolCommand(Tool tool);
std::optional<Tool> ToolOfCommand(int commandId);
// The switches every tool starts with (and gets back when the scene is cleared).
AxisSwitches InitialSwitches(Tool tool);
// Tools that act on the selected object or its texture: they need one.
bool NeedsSelectedObject(Tool tool);

} // namespace zelvane
