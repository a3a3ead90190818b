#pragma once
// The import plug-ins as the commands that import meshes use them: loaded
// where the editor finds them, and chosen for a file.

#include "plugins/host/CPluginManager.h"

#include <optional>
#include <string>

namespace zelvane::cli {

// Scans "Plugins" where the editor finds it; every library that did not
// become a plug-in is named on stderr (the editor skips them silently).
void LoadPlugins(CPluginManager& manager);

// The plug-in for `file`: the one called `name` when given, else the one
// whose filter extension is the file's. Null with the reason in `error` and
// what it is about (the file or the name) in `subject`.
const CPlugin* ChoosePlugin(const CPluginManager& manager, const std::string& file, const std::string& name,
                            std::string& subject, std::string& error);

// Why `path` is not a file a plug-in should be given (they get what a user
// picked in a dialog: an existing regular file), or nothing.
std::optional<std::string> UnreadableReason(const std::string& path);

} // namespace zelvane::cli
