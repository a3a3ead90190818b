#pragma once
// Where the program's own folders are: the folder it was started in, the folder
// of its executable, and the data folders it ships ("Maps", "Plugins",
// "Meshes", "Scenes", the sample game). One place, so the editor, the
// command-line tool and an installed copy all look in the same order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// The folder of the running executable, without a trailing "/"; empty when it
// cannot be read from /proc.
std::string ExecutableFolder();

// The current folder when this was first called (the program calls it at
// start-up), ending in "/". It is the base of "Maps", "Plugins", "Meshes" and
// "Scenes".
const std::string& StartFolder();

// The candidates for a folder the program ships, most specific first: below the
// start folder, beside the executable, then where an installation keeps it
// (../share/zelvane/NAME and ../lib/zelvane/NAME from the executable). Each ends
// in "/".
std::vector<std::string> ProgramFolderCandidates(std::string_view name);

// The first candidate that exists as a folder, or nothing.
std::optional<std::string> FindProgramFolder(std::string_view name);

} // namespace zelvane
