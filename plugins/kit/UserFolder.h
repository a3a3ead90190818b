#pragma once
// The program's per-user folders as a plug-in finds them. A plug-in links
// nothing of the program and the interface hands over no folder, so the
// program's rule (the XDG base directory convention) is followed here as
// well; a test holds the two together.

#include <optional>
#include <string>

namespace zelvane::pluginkit {

// "$<variable>/zelvane/" when the variable holds an absolute path, else
// "$HOME/<belowHome>zelvane/" (belowHome ends in "/"); none when neither is
// usable. The folder may not exist yet.
std::optional<std::string> UserFolder(const char* variable, const char* belowHome);

// Where the program keeps files it can make again: $XDG_CACHE_HOME/zelvane/,
// else ~/.cache/zelvane/.
std::optional<std::string> CacheFolder();

} // namespace zelvane::pluginkit
