#include "app/cli/GameFolderOption.h"

#include "app/cli/CliOutput.h"
#include "objects/GameFolder.h"
#include "report/ProgramFolders.h"

namespace zelvane::cli {

void AddGameFolderOption(CLI::App& command, std::string& folder)
{
    command.add_option("--game-folder", folder,
                       "The game's installation folder (default: SIMS_DATA, the profile, the Wine registry, "
                       "then the sample game)");
}

GameFolderSearch SearchGameFolder(const std::string& given)
{
    std::optional<std::string> commandLine;
    if (!given.empty())
        commandLine = given;
    const GameFolderChoice choice =
        FindGameFolder(GameFolderInputs::FromEnvironment(commandLine, SampleGameFolders(ExecutableFolder())));
    GameFolderSearch search;
    search.notes = choice.notes;
    search.givenIsNoFolder = commandLine && choice.source != GameFolderSource::CommandLine;
    if (!search.givenIsNoFolder && choice.source != GameFolderSource::None)
        search.folder = choice.folder;
    return search;
}

std::optional<std::string> ResolveGameFolder(const std::string& given)
{
    const GameFolderSearch search = SearchGameFolder(given);
    if (search.givenIsNoFolder) {
        Fail(given, "not a folder");
        return std::nullopt;
    }
    for (const std::string& note : search.notes)
        Warn("game folder", note);
    if (search.folder.empty()) {
        Fail("game folder", "none found: pass --game-folder DIR or set SIMS_DATA");
        return std::nullopt;
    }
    return search.folder;
}

} // namespace zelvane::cli
