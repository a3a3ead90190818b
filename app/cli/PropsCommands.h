#pragma once
// `props` shows an object's 31 properties as the property editor does (simple
// or advanced view); `set` stores Name=Value pairs through the same rules and
// saves them as the editor's OK does.

#include <CLI/CLI.hpp>

namespace zelvane::cli {

void AddPropsCommands(CLI::App& app, int& status);

} // namespace zelvane::cli
