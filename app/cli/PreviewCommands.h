#pragma once
// `preview` composes an object's picture as the base object list shows it
// and writes it as a PNG; `sprite` writes one sprite frame's colour, depth
// and alpha planes as PNGs. Both print the numbers (sizes, anchor, origin),
// and with --json only the numbers.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

void AddPreviewCommands(CLI::App& app, int& status);

} // namespace zelvane::cli
