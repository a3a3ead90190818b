#pragma once
// `strings FILE --id N [--type STR#|CTSS] [--json]`: a string list with every
// language slot that holds strings, and each string's text and comment.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers the command; its exit status goes to `status` when it runs.
void AddStringsCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
