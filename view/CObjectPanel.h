#pragma once
// The object panel ("Object Info"): the working object's catalog name, price
// and description, "&Properties" to edit them, the footprint cage's Height,
// Width and Depth, and the Near, Medium and Far zoom presets. It shows and
// drives its ObjectPanelModel, and shows itself again whenever the document
// says the working object or the view's options changed.

#include "document/ObjectPanelModel.h"
#include "document/Signal.h"

#include <QWidget>

class QButtonGroup;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace zelvane {

class CObjectPanel : public QWidget {
    Q_OBJECT

public:
    explicit CObjectPanel(COGLDoc& document, QWidget* parent = nullptr);

    ObjectPanelModel& Model() { return model_; }
    // Shows the model's state again.
    void Refresh();

private:
    void OnProperties();

    ObjectPanelModel model_;
    bool showing_ = false;
    QLineEdit* name_;
    QLineEdit* price_;
    QPlainTextEdit* description_;
    QPushButton* properties_;
    QSpinBox* cage_[3]; // height, width, depth
    QButtonGroup* zoom_;
    Signal<DocumentChanges>::Connection documentConnection_;
};

} // namespace zelvane
