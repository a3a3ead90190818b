#include "app/CSpriteFolderDlg.h"

#include "document/COGLDoc.h"
#include "report/Reporter.h"
#include "spriteio/png/PngSpriteFolder.h"
#include "view/EditorSettings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
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

namespace {

constexpr const char* kFolderKey = "Settings/SpriteFolder";

// The folder last used, else one named after the working object in the home folder.
QString StartFolder(const COGLDoc& document)
{
    const CObjectEntry* object = document.WorkingObject().CurrentObject();
    QString name = object ? QStringLiteral("%1 sprites").arg(QString::fromStdString(object->ResourceName()))
                          : QStringLiteral("sprites");
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return OpenEditorSettings()->value(QLatin1String(kFolderKey), QDir::home().filePath(name)).toString();
}

void Tell(const std::string& text, MessageIcon icon)
{
    CurrentReporter().ShowMessage(text, icon, MessageButtons::Ok);
}

} // namespace

std::optional<QString> ExportSprites(COGLDoc& document, QWidget* parent)
{
    CObjectFile* file = document.WorkingObject().File();
    if (!file || !document.WorkingObject().CurrentObject())
        return std::nullopt;
    CSpriteFolderDlg dialog(CSpriteFolderDlg::Mode::Export, StartFolder(document), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    OpenEditorSettings()->setValue(QLatin1String(kFolderKey), dialog.Folder());
    SpriteExportOptions options;
    options.layout = dialog.Choice() ? SpriteLayoutChoice::SheetPerObject : SpriteLayoutChoice::FramePerFile;
    options.objectFileName = QFileInfo(QFile::decodeName(QByteArray::fromStdString(file->Path()))).fileName().toStdString();
    const SpriteExport exported = zelvane::ExportSprites(*file, options);
    if (!exported.ok()) {
        Tell("The sprites were not exported: " + exported.error, MessageIcon::Error);
        return std::nullopt;
    }
    std::string subject, error;
    if (!WriteSpriteFolder(QFile::encodeName(dialog.Folder()).toStdString(), exported, subject, error)) {
        Tell("The sprites were not exported: " + subject + ": " + error, MessageIcon::Error);
        return std::nullopt;
    }
    for (const std::string& note : exported.notes)
        Tell(note, MessageIcon::Warning);
    return CSpriteFolderDlg::tr("%1 pictures written to %2").arg(exported.images.size()).arg(dialog.Folder());
}

std::optional<QString> ImportSprites(COGLDoc& document, QWidget* parent)
{
    if (!document.WorkingObject().CurrentObject())
        return std::nullopt;
    CSpriteFolderDlg dialog(CSpriteFolderDlg::Mode::Import, StartFolder(document), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    OpenEditorSettings()->setValue(QLatin1String(kFolderKey), dialog.Folder());
    SpriteImportOptions options;
    options.dithering = dialog.Choice() ? Dithering::On : Dithering::Off;
    const std::string folder = QFile::encodeName(dialog.Folder()).toStdString();
    SpriteImportResult result;
    const Status imported = document.ReplaceObjectFile("Import Sprites", [&](const std::string& path) {
        result = ImportSpriteFolder(path, folder, options);
        return result.ok() ? Status::Ok() : Status::Failure(result.subject + ": " + result.error);
    });
    if (!imported) {
        Tell("The sprites were not imported. " + imported.Message(), MessageIcon::Error);
        return std::nullopt;
    }
    return CSpriteFolderDlg::tr("%1 sprites (%2 frames) imported").arg(result.sprites).arg(result.frames);
}

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
