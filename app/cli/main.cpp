// zelvane-cli: the editor's resource library on the command line, for scripts
// and for looking into object files and archives without a window.

#include "CatalogCommands.h"
#include "CliOutput.h"
#include "CompactCommand.h"
#include "DrawGroupCommand.h"
#include "DumpCommand.h"
#include "FarCommands.h"
#include "ListCommand.h"
#include "PreviewCommands.h"
#include "PropsCommands.h"
#include "PutCommand.h"
#include "RemoveCommand.h"
#include "RenameCommand.h"
#include "StringsCommand.h"
#include "TreeCommand.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace zelvane::cli;
    CLI::App app{"zelvane-cli: look into and edit object files (IFF); look into FAR archives", "zelvane-cli"};
    app.require_subcommand(1);
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
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    } catch (const std::exception& error) {
        // Out of memory or a failing system call deep down: still one line, never a crash.
        std::cerr << "zelvane-cli: " << error.what() << '\n';
        return kExitFailure;
    }
    return status;
}
