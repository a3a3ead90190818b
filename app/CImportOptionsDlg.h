#pragma once
// The "Import Options" step of File ▸ Import, after the file is chosen: how
// large the model comes in (times the size its plug-in gives it), which way
// is up in its file, and whether it is made to fit the footprint. The last
// choices are remembered in the settings ("Import" section) and offered
// again; files dropped on the view come in with them without asking.

#include "document/FootprintPlacement.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;

namespace zelvane {

class CImportOptionsDlg : public QDialog {
    Q_OBJECT

public:
    // Shows `options`; `fileName` names the file in the title.
    CImportOptionsDlg(const ImportOptions& options, const QString& fileName, QWidget* parent = nullptr);

    ImportOptions Options() const;

    // The options last chosen, from the settings (the defaults at first).
    static ImportOptions Remembered();
    static void Remember(const ImportOptions& options);

private:
    QDoubleSpinBox* scale_;
    QComboBox* up_;
    QCheckBox* fit_;
};

} // namespace zelvane
