#pragma once
// `tree FOLDER [--json] [--no-archives]`: a folder as the file system sees it
// once mounted, with the contents of its FAR archives in place.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddTreeCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
