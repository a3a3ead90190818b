#pragma once
// The object bar's contents: the object panel and the mesh panel on the two
// tabs "Object Info" and "Mesh Info". The main window docks it on the right.

#include <QTabWidget>

namespace zelvane {

class CMeshPanel;
class CObjectPanel;
class COGLDoc;

class CObjectBar : public QTabWidget {
    Q_OBJECT

public:
    // The panels show and change `document`.
    explicit CObjectBar(COGLDoc& document, QWidget* parent = nullptr);

    CObjectPanel& ObjectPanel() { return *objectPanel_; }
    CMeshPanel& MeshPanel() { return *meshPanel_; }

private:
    CObjectPanel* objectPanel_;
    CMeshPanel* meshPanel_;
};

} // namespace zelvane
