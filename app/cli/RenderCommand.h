#pragma once
// `render` draws the editor's default scene (floor, two walls, three lights)
// with the objects of a scene file, imported meshes and added primitives off
// screen and writes it as a PNG; `pick` tells what a click at a pixel of that
// picture would select. Both take the view's choices: size, camera preset,
// display mode, grid, cage, axis marker, zoom.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

void AddRenderCommands(CLI::App& app, int& status);

} // namespace zelvane::cli
