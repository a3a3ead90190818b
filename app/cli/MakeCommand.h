#pragma once
// `make`: from a base object and models to a finished object file in one
// command: the base cloned with new GUIDs, the models imported and placed as
// the editor's Import places them, the properties set, the sprites rendered,
// the object file written (and the scene beside it when asked). Nothing is
// written at the outputs until every step has succeeded; a failure names its
// step.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

void AddMakeCommand(CLI::App& app, int& status);

} // namespace zelvane::cli
