// zelvane: an editor for The Sims object files with a 3-D scene view.

#include "app/CEditorApp.h"
#include "app/QtReporter.h"
#include "report/ErrorLog.h"
#include "report/Version.h"
#include "resfile/CTGFileSystem.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    zelvane::CEditorApp::ChooseRenderer();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("zelvane"));
    QApplication::setApplicationName(QStringLiteral("zelvane"));
    QApplication::setApplicationVersion(QString::fromLatin1(zelvane::kProgramVersion));
    // Desktops match the window to zelvane.desktop (its name and icon) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("zelvane"));

    zelvane::QtReporter reporter;
    zelvane::SetReporter(&reporter);
    const zelvane::EditorOptions options = zelvane::CEditorApp::ParseCommandLine(QApplication::arguments());

    // The file system's notes (archives it could not open) go to the debug log.
    zelvane::CTGFileSystem::Instance().SetDebugSink([](const std::string& text) { zelvane::LogDebug(text + "\n"); });
    int status = 1;
    {
        zelvane::CEditorApp editor;
        if (editor.InitInstance(options))
            status = QApplication::exec();
    }
    zelvane::SetReporter(nullptr);
    return status;
}
