#pragma once
// `remove FILE --type T --id N [--attribute A]`: deletes one resource.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddRemoveCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
