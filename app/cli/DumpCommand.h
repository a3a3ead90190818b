#pragma once
// `dump FILE --type T (--id N | --index I) [-o OUT]`: one resource's raw data.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddDumpCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
