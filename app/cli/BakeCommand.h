#pragma once
// `bake SCENE.cgs [-o OUT.iff]`: renders the objects of a scene file with the
// game's camera into the sprites of the object file saved beside it
// (SCENE.iff), as the editor's Object ▸ "Render Sprites from Scene..." does,
// in place or into OUT.iff.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

void AddBakeCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
