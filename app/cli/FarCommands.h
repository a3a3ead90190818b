#pragma once
// `far list ARCHIVE [--json]` and `far extract ARCHIVE [NAMES...] -o DIR`.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the `far` group; the exit status of the command that runs goes to `status`.
void AddFarCommands(CLI::App& app, int& status);

} // namespace zelvane::cli
