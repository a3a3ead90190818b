#pragma once
// --game-folder: the game's installation folder, for the commands that read
// its catalog or take paths below it.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace zelvane::cli {

void AddGameFolderOption(CLI::App& command, std::string& folder);

struct GameFolderSearch {
    std::string folder;             // ends with "/"; empty when there is none
    std::vector<std::string> notes; // sources passed over, and why
    bool givenIsNoFolder = false;   // --game-folder names no folder
};

// `given` when not empty (it must be a folder), else the first of SIMS_DATA,
// the profile, the Wine registry and the sample game that names a folder.
GameFolderSearch SearchGameFolder(const std::string& given);

// The same, telling what it passed over as warnings and why there is none
// as the command's failure line.
std::optional<std::string> ResolveGameFolder(const std::string& given);

} // namespace zelvane::cli
