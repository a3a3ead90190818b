#pragma once
// Commands over the game's object catalog: `catalog` (every listed object),
// `guids` (GUIDs that more than one object uses) and `clone` (an object into
// the working object file, with the GUID map and the repaired behaviour code).

#include <CLI/CLI.hpp>

namespace zelvane::cli {

void AddCatalogCommands(CLI::App& app, int& status);

} // namespace zelvane::cli
