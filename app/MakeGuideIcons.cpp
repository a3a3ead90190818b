// make_guide_icons OUTDIR: writes every toolbar icon at twice its size as
// OUTDIR/<command id>.png, for the user guide (which shows them at 16 x 15).

#include "app/ToolbarIcons.h"

#include <QDir>
#include <QGuiApplication>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_guide_icons OUTDIR\n");
        return 2;
    }
    // Images only: no window system is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_guide_icons: cannot create %s\n", argv[1]);
        return 1;
    }
    for (int id : zelvane::ToolbarIconCommands()) {
        const QString path = QStringLiteral("%1/%2.png").arg(folder).arg(id);
        if (!zelvane::DrawToolbarIcon(id, 2).save(path)) {
            std::fprintf(stderr, "make_guide_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
