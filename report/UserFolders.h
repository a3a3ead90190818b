#pragma once
// The per-user folders of the XDG base directory convention, where the
// program keeps what belongs to one user: its settings (config), the working
// object file (data), its logs (state) and pictures taken out of imported
// models (cache). One place, so the editor, the
// command-line tool and the logs agree on them.

#include <optional>
#include <string>

namespace zelvane {

enum class UserFolder {
    Config, // $XDG_CONFIG_HOME, else ~/.config
    Data,   // $XDG_DATA_HOME, else ~/.local/share
    State,  // $XDG_STATE_HOME, else ~/.local/state
    Cache,  // $XDG_CACHE_HOME, else ~/.cache: pictures taken out of model files
};

// The program's own folder of that kind, ending in "/zelvane/". A variable
// that is empty or relative is ignored, as the convention says. None when
// neither it nor $HOME is usable. The folder itself may not exist yet.
std::optional<std::string> UserFolderPath(UserFolder folder);

// $HOME ending in "/", or none when it is unset or empty.
std::optional<std::string> HomeFolder();

} // namespace zelvane
