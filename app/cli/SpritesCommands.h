#pragma once
// `sprites export` writes every sprite an object's draw groups use into a
// folder as PNG pictures (colour with alpha, and depth) with their
// manifest, or one sheet per object; `sprites import` takes the painted
// folder back into the object file, re-quantised into one palette per
// object, in one replacement of the file.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

void AddSpritesCommands(CLI::App& app, int& status);

} // namespace zelvane::cli
