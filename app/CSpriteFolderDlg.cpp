#include "app/CSpriteFolderDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvane {

CSpriteFolderDlg::CSpriteFolderDlg(Mode mode, const QString& folder, QWidget* parent)
    : QDialog(parent), mode_(mode), folder_(new QLineEdit(folder)),
      choice_(new QCheckBox(mode == Mode::Export ? tr("One &sheet per object (every image of a tile in one picture)")
                                                 : tr("&Dither the colours")))
{
    const bool exporting = mode == Mode::Export;
    setObjectName(exporting ? QStringLiteral("exportSpritesDialog") : QStringLiteral("importSpritesDialog"));
    setWindowTitle(exporting ? tr("Export Sprites") : tr("Import Sprites"));
    folder_->setObjectName(QStringLiteral("folder"));
    choice_->setObjectName(exporting ? QStringLiteral("sheet") : QStringLiteral("dither"));

    auto* intro = new QLabel(exporting ? tr("Every sprite of the working object is written into this folder as PNG "
                                            "pictures (colour with alpha, and depth) with a manifest, "
                                            "\"sprites.json\". Paint the colour pictures, then import the folder.")
                                       : tr("The painted pictures of this folder, and its \"sprites.json\", replace "
                                            "the working object's sprites. Pictures must keep their sizes. Edit ▸ "
                                            "Undo puts the sprites back."));
    intro->setWordWrap(true);
    auto* browse = new QPushButton(tr("&Browse..."));
    browse->setObjectName(QStringLiteral("browse"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(this, windowTitle(), folder_->text());
        if (!chosen.isEmpty())
            folder_->setText(chosen);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(folder_, 1);
    row->addWidget(browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSpriteFolderDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    form->addRow(tr("&Folder:"), row);
    layout->addLayout(form);
    layout->addWidget(choice_);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());
}

QString CSpriteFolderDlg::Folder() const
{
    return folder_->text().trimmed();
}

bool CSpriteFolderDlg::Choice() const
{
    return choice_->isChecked();
}

void CSpriteFolderDlg::accept()
{
    const QString folder = Folder();
    // An import needs a folder that is there; an export makes a missing one.
    if (folder.isEmpty() || (mode_ == Mode::Import && !QFileInfo(folder).isDir())) {
        QMessageBox::information(this, windowTitle(),
                                 folder.isEmpty() ? tr("Choose a folder first.")
                                                  : tr("The folder \"%1\" does not exist.").arg(folder));
        return;
    }
    QDialog::accept();
}

} // namespace zelvane
