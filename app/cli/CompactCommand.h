#pragma once
// `compact FILE`: rewrites an IFF file without its free chunks.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddCompactCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
