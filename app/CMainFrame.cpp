#include "app/CMainFrame.h"

#include "document/COGLDoc.h"
#include "report/Version.h"
#include "view/COGLView.h"

#include <QStatusBar>

namespace zelvane {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), view_(new COGLView(this))
{
    setWindowTitle(QStringLiteral("zelvane ") + QString::fromLatin1(kProgramVersion));
    setCentralWidget(view_);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    resize(800, 600);
}

void CMainFrame::ShowCatalogSummary(const COGLDoc& document)
{
    const GameFolderChoice& game = document.GameFolder();
    QString text;
    if (game.source == GameFolderSource::None) {
        text = tr("No game folder found: start with --game-folder DIR or set SIMS_DATA");
    } else {
        text = tr("%1 objects in %2 object files, from %3 (%4)")
                   .arg(document.Catalog().ListedObjects().size())
                   .arg(document.Catalog().Files().size())
                   .arg(QString::fromStdString(game.folder))
                   .arg(QString::fromUtf8(GameFolderSourceName(game.source)));
    }
    statusBar()->showMessage(text);
}

} // namespace zelvane
