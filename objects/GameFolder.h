#pragma once
// Finding the game's installation folder, in this order: the command line,
// the environment variable SIMS_DATA, the profile key "Settings/SIMS_DATA",
// the value "SIMS_DATA" of the Wine registry's [Software\\Maxis\\The Sims]
// key (its drive letter mapped through the Wine prefix), and last the sample
// game folder that ships with the program. A source that names a folder that
// does not exist is passed over, with a note saying so.

#include <optional>
#include <string>
#include <vector>

namespace zelvane {

enum class GameFolderSource { CommandLine, Environment, Profile, WineRegistry, SampleGame, None };

struct GameFolderChoice {
    std::string folder; // ends with "/"; empty when nothing was found
    GameFolderSource source = GameFolderSource::None;
    std::vector<std::string> notes; // sources passed over, and why
};

struct GameFolderInputs {
    std::optional<std::string> commandLine;
    std::optional<std::string> environment;  // SIMS_DATA
    std::string profilePath;                 // the INI file holding [Settings] SIMS_DATA; empty: none
    std::string winePrefix;                  // folder holding system.reg and dosdevices/; empty: none
    std::vector<std::string> sampleFolders;  // candidates, first existing wins

    // The inputs of this process: SIMS_DATA, $XDG_CONFIG_HOME/zelvane/zelvane.conf
    // (or ~/.config/...), $WINEPREFIX (or ~/.wine).
    static GameFolderInputs FromEnvironment(std::optional<std::string> commandLine,
                                            std::vector<std::string> sampleFolders);
};

GameFolderChoice FindGameFolder(const GameFolderInputs& inputs);

// Where the sample game may lie for a program in `executableFolder`: beside
// the build's programs (build/sample-game) or installed (share/zelvane/sample-game).
std::vector<std::string> SampleGameFolders(const std::string& executableFolder);

// A printable name for a source: "command line", "SIMS_DATA", ...
const char* GameFolderSourceName(GameFolderSource source);

// The value of `key` in section `section` of an INI file as written by the
// settings store; none when absent or unreadable.
std::optional<std::string> ReadIniValue(const std::string& path, const std::string& section, const std::string& key);

// The Windows path stored as "SIMS_DATA" under the Maxis key of a Wine
// registry file; none when absent or unreadable.
std::optional<std::string> ReadWineGameFolder(const std::string& systemReg);

// A Windows path ("C:\Program Files\...") as a path inside the Wine prefix,
// each component matched ignoring case; none when the drive is unknown.
std::optional<std::string> MapWinePath(const std::string& winePrefix, const std::string& windowsPath);

} // namespace zelvane
