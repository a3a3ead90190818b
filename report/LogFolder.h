#pragma once
// Where the debug log ("log.txt") and the error log ("errors.txt") live: the
// per-user state folder rather than beside the program, which is usually not
// writable once installed.

#include <optional>
#include <string>

namespace zelvane {

// The log folder, ending in "/": $ZELVANE_LOG_DIR when set (tests point it at a
// private folder), else $XDG_STATE_HOME/zelvane/, else $HOME/.local/state/zelvane/.
// Empty when none of them is usable. The folder itself may not exist yet.
std::optional<std::string> LogFolder();

} // namespace zelvane
