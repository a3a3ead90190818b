// zelvane-cli: the editor's resource library on the command line, for scripts
// and for looking into object files and archives without a window.

#include "app/cli/BakeCommand.h"
#include "app/cli/CatalogCommands.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "app/cli/CompactCommand.h"
#include "app/cli/DrawGroupCommand.h"
#include "app/cli/DumpCommand.h"
#include "app/cli/FarCommands.h"
#include "app/cli/ListCommand.h"
#include "app/cli/MakeCommand.h"
#include "app/cli/PluginCommands.h"
#include "app/cli/PreviewCommands.h"
#include "app/cli/PropsCommands.h"
#include "app/cli/PutCommand.h"
#include "app/cli/RemoveCommand.h"
#include "app/cli/RenderCommand.h"
#include "app/cli/RenameCommand.h"
#include "app/cli/SceneCommand.h"
#include "app/cli/SpritesCommands.h"
#include "app/cli/StringsCommand.h"
#include "app/cli/TreeCommand.h"
#include "report/Version.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace zelvane::cli;
    CLI::App app{"zelvane-cli: look into and edit object files (IFF); look into FAR archives; import meshes; render "
                 "the 3-D scene",
                 "zelvane-cli"};
    app.set_version_flag("--version", std::string("zelvane-cli ") + zelvane::kProgramVersion, "Print the version and exit");
    app.require_subcommand(1);
    // Messages the editor's code shows and no command claimed still get their line.
    CliReporter unclaimed;
    int status = kExitOk;
    AddListCommand(app, status);
    AddDumpCommand(app, status);
    AddStringsCommand(app, status);
    AddDrawGroupCommand(app, status);
    AddPutCommand(app, status);
    AddRemoveCommand(app, status);
    AddRenameCommand(app, status);
    AddCompactCommand(app, status);
    AddFarCommands(app, status);
    AddTreeCommand(app, status);
    AddCatalogCommands(app, status);
    AddPropsCommands(app, status);
    AddPreviewCommands(app, status);
    AddSpritesCommands(app, status);
    AddPluginCommands(app, status);
    AddRenderCommands(app, status);
    AddSceneCommand(app, status);
    AddBakeCommand(app, status);
    AddMakeCommand(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    } catch (const std::exception& error) {
        // Out of memory or a failing system call deep down: still one line, never a crash.
        std::cerr << "zelvane-cli: " << error.what() << '\n';
        return kExitFailure;
    }
    if (const std::string messages = unclaimed.TakeMessages(); !messages.empty())
        std::cerr << "zelvane-cli: " << Printable(messages) << '\n';
    return status;
}
