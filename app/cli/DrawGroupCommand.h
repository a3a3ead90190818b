#pragma once
// `drawgroup FILE --id N [--json]`: a draw group's images and the sprite
// references in each, with every stored value.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddDrawGroupCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
