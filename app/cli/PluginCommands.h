#pragma once
// `plugins [--json]`: the import plug-ins the editor loads, as its About box
// lists them. `import FILE [--plugin NAME] [--json]`: imports a mesh file
// through them, as the editor's Import menu does, and prints what came back.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

// Registers both commands; the exit status goes to `status` when one runs.
void AddPluginCommands(CLI::App& app, int& status);

} // namespace zelvane::cli
