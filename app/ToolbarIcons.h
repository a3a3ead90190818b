#pragma once
// The toolbar's icons, drawn by code in one style with the program's own
// icon: dark green outlines, flat greens and sand, the axis colours red, green
// and blue. Each is drawn on the toolbar's 16 × 15 pixel grid and again at
// twice the size for high-DPI screens, so both are sharp.

#include <QIcon>
#include <QImage>

#include <vector>

namespace zelvane {

inline constexpr int kToolbarIconWidth = 16;
inline constexpr int kToolbarIconHeight = 15;

// The commands that have an icon: the toolbar's, in toolbar order, then the
// Orbit tool's (menu only).
const std::vector<int>& ToolbarIconCommands();

// The icon of `commandId` drawn at `scale` (1 or 2) times 16 × 15 pixels on a
// transparent background; a null image for a command without one.
QImage DrawToolbarIcon(int commandId, int scale);

// The icon with both sizes; a null icon for a command without one.
QIcon ToolbarIcon(int commandId);

} // namespace zelvane
