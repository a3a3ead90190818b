#pragma once
// The default textures the editor puts on its floor and walls, drawn by code
// so every pixel is explained: a floor of oak planks and a striped wallpaper
// above a panelled dado. Both tile without seams across their left and right
// edges (the floor also top to bottom), as the scene repeats them.

#include "objects/PlainImage.h"

#include <string>

namespace zelvane {

// 512 × 512, 24-bit: sixteen rows of planks of staggered lengths with grain,
// knots and dark joints. The scene lays it three times across the 15-unit floor.
PlainImage DrawWoodenFloor();

// 512 × 256, 24-bit: one repeat of the wall's three across its 15 units and
// its whole height of 3 units: wallpaper with stripes and small sprigs above a
// chair rail, wooden panels and a skirting board below.
PlainImage DrawWallpaper();

// Writes "Default Floor.bmp" and "Default Wall.bmp" into `folder` (created if
// needed). Empty on success, else what failed.
std::string WriteDefaultMaps(const std::string& folder);

} // namespace zelvane
