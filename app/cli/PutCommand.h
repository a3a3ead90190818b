#pragma once
// `put FILE --type T --id N [--name NAME] [--attribute A] --from DATAFILE`:
// adds a resource, or replaces the one of that type, id and attribute.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddPutCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
