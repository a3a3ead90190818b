#pragma once
// `list FILE [--scan] [--json]`: the members of an object file and every
// resource in them, as the container's index has them.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddListCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
