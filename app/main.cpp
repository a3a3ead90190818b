// zelvane: an editor for The Sims object files with a 3-D scene view.

#include "CMainFrame.h"
#include "QtReporter.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("zelvane"));
    QApplication::setApplicationName(QStringLiteral("zelvane"));
    QApplication::setApplicationVersion(QStringLiteral("0.1.0"));

    zelvane::QtReporter reporter;
    zelvane::SetReporter(&reporter);

    QCommandLineParser commandLine;
    commandLine.setApplicationDescription(QStringLiteral("Editor for The Sims object files"));
    commandLine.addHelpOption();
    commandLine.addVersionOption();
    // FIXME: accepted so scripts can pass it already; it takes effect once the
    // game folder and object catalog exist.
    commandLine.addOption({QStringLiteral("game-folder"), QStringLiteral("The game's installation folder."),
                           QStringLiteral("DIR")});
    commandLine.process(application);

    zelvane::CMainFrame frame;
    frame.show();
    const int status = application.exec();
    zelvane::SetReporter(nullptr);
    return status;
}
