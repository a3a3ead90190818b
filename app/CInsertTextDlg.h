#pragma once
// Insert ▸ "3-D Text...": the text, its font family (the outline fonts
// installed) and how deep its letters reach back. OK is refused, with the
// reason, for a text that cannot be made (WhyTextCannotBeMade).

#include "document/InsertedObjects.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

namespace zelvane {

class CInsertTextDlg : public QDialog {
    Q_OBJECT

public:
    explicit CInsertTextDlg(QWidget* parent = nullptr);

    TextRequest Request() const;
    void accept() override;

private:
    QLineEdit* text_;
    QComboBox* font_;
    QDoubleSpinBox* depth_;
};

} // namespace zelvane
