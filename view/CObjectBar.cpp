#include "view/CObjectBar.h"

#include "view/CMeshPanel.h"
#include "view/CObjectPanel.h"

namespace zelvane {

CObjectBar::CObjectBar(COGLDoc& document, QWidget* parent)
    : QTabWidget(parent), objectPanel_(new CObjectPanel(document)), meshPanel_(new CMeshPanel(document))
{
    setObjectName(QStringLiteral("objectBar"));
    addTab(objectPanel_, tr("Object Info"));
    addTab(meshPanel_, tr("Mesh Info"));
}

} // namespace zelvane
