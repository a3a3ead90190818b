#include "view/CObjectBar.h"

#include "view/CMeshPanel.h"
#include "view/CObjectPanel.h"

namespace zelvane {

CObjectBar::CObjectBar(IPanelView& view, WorkingObjectFile& working, UndoHistory* history, QWidget* parent)
    : QTabWidget(parent), objectPanel_(new CObjectPanel(view, working, history)),
      meshPanel_(new CMeshPanel(view, history))
{
    setObjectName(QStringLiteral("objectBar"));
    setProperty("controlId", 1217);
    addTab(objectPanel_, tr("Object Info"));
    addTab(meshPanel_, tr("Mesh Info"));
}

} // namespace zelvane
