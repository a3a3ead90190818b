// zelvane: an editor for The Sims object files with a 3-D scene view.

#include "app/CMainFrame.h"
#include "app/QtReporter.h"
#include "document/COGLDoc.h"
#include "objects/GameFolder.h"
#include "report/ErrorLog.h"
#include "report/ProgramFolders.h"
#include "report/Version.h"
#include "resfile/CTGFileSystem.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("zelvane"));
    QApplication::setApplicationName(QStringLiteral("zelvane"));
    QApplication::setApplicationVersion(QString::fromLatin1(zelvane::kProgramVersion));

    zelvane::QtReporter reporter;
    zelvane::SetReporter(&reporter);

    QCommandLineParser commandLine;
    commandLine.setApplicationDescription(QStringLiteral("Editor for The Sims object files"));
    commandLine.addHelpOption();
    commandLine.addVersionOption();
    commandLine.addOption({QStringLiteral("game-folder"), QStringLiteral("The game's installation folder."),
                           QStringLiteral("DIR")});
    commandLine.process(application);

    // The file system's notes (archives it could not open) go to the debug log.
    zelvane::CTGFileSystem::Instance().SetDebugSink([](const std::string& text) { zelvane::LogDebug(text + "\n"); });
    std::optional<std::string> gameFolder;
    if (commandLine.isSet(QStringLiteral("game-folder")))
        gameFolder = commandLine.value(QStringLiteral("game-folder")).toStdString();
    zelvane::COGLDoc document(gameFolder, zelvane::SampleGameFolders(zelvane::ExecutableFolder()));
    document.OnNewDocument();

    zelvane::CMainFrame frame;
    frame.ShowCatalogSummary(document);
    frame.show();
    const int status = application.exec();
    zelvane::SetReporter(nullptr);
    return status;
}
