#pragma once
// The mesh panel ("Mesh Info"): the face and vertex counts of the selected
// mesh and of the group chosen in its group list, the mesh's face groups
// with their material and texture (whose texture can be replaced or taken
// away), the scene's textures with "&Load", and the selected object's "&Use
// Texture" and "Effected by Lighting". It shows and drives its MeshPanelModel, and shows itself again
// whenever the document's scene or selection changes.

#include "document/COGLDoc.h"
#include "document/MeshPanelModel.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zelvane {

class CMeshPanel : public QWidget {
    Q_OBJECT

public:
    explicit CMeshPanel(COGLDoc& document, QWidget* parent = nullptr);

    MeshPanelModel& Model() { return model_; }
    void Refresh();

private:
    void OnLoad();
    void OnReplaceGroupTexture();

    MeshPanelModel model_;
    bool showing_ = false;
    QLineEdit* meshFaces_;
    QLineEdit* meshVertices_;
    QListWidget* groups_;
    QLineEdit* groupFaces_;
    QLineEdit* groupVertices_;
    QListWidget* faceGroups_;
    QPushButton* replaceGroupTexture_;
    QPushButton* removeGroupTexture_;
    QListWidget* textures_;
    QPushButton* load_;
    QCheckBox* useTexture_;
    QCheckBox* lighting_;
    Signal<DocumentChanges>::Connection documentConnection_;
};

} // namespace zelvane
