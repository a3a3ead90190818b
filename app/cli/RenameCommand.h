#pragma once
// `rename FILE --type T --id N [--attribute A] [--name NAME] [--new-id M]`:
// gives a resource another name, another id, or both.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddRenameCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
