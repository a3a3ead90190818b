#pragma once
// Object ▸ "Export Sprites..." and "Import Sprites...": the folder the
// sprites go to or come from, and the one choice each has (a sheet per
// object, or dithering).

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;

namespace zelvane {

class COGLDoc;

// The commands: ask with the dialog (starting in the folder last used) and
// do the work, telling the user what failed. What to say in the status bar
// when it worked; nothing when cancelled or failed.
std::optional<QString> ExportSprites(COGLDoc& document, QWidget* parent);
// The import is one undo step of the document.
std::optional<QString> ImportSprites(COGLDoc& document, QWidget* parent);

class CSpriteFolderDlg : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Export, Import };
    CSpriteFolderDlg(Mode mode, const QString& folder, QWidget* parent = nullptr);

    QString Folder() const;
    // Export: one sheet per object instead of a picture per frame.
    // Import: dithered colours.
    bool Choice() const;

    void accept() override;

private:
    Mode mode_;
    QLineEdit* folder_;
    QCheckBox* choice_;
};

} // namespace zelvane
