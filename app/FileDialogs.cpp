#include "app/FileDialogs.h"

#include "report/ProgramFolders.h"
#include "view/EditorSettings.h"

#include <QDir>
#include <QFile>

namespace zelvane {

namespace {

// The folder scene files were last opened from or saved to; at first the
// program's "Scenes" folder, else the folder it was started in.
QString ScenesFolder()
{
    const std::optional<std::string> scenes = FindProgramFolder("Scenes");
    return LastFolder(kScenesFolderKind, QFile::decodeName(QByteArray::fromStdString(scenes ? *scenes : StartFolder())));
}

// Runs the dialog; the chosen file's folder is where dialogs of `kind` (when
// given) start next time.
std::optional<std::string> RunForFile(QFileDialog& dialog, const char* kind = nullptr)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (kind)
        RememberFolder(kind, dialog.selectedFiles().front());
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

const QStringList& ImageFilters()
{
    static const QStringList filters = {QStringLiteral("Windows Bitmap Files (*.bmp)"),
                                        QStringLiteral("Truevision Targa Files (*.tga)"),
                                        QStringLiteral("All Files (*)")};
    return filters;
}

} // namespace

std::unique_ptr<QFileDialog> MakeOpenSceneDialog(QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QString(), ScenesFolder(), QString::fromLatin1(kSceneFilter));
    dialog->setObjectName(QStringLiteral("openSceneDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
}

std::optional<std::string> AskOpenScenePath(QWidget* parent)
{
    return RunForFile(*MakeOpenSceneDialog(parent), kScenesFolderKind);
}

std::unique_ptr<QFileDialog> MakeSaveSceneDialog(QWidget* parent, const std::string& currentPath)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QObject::tr("Save Scene As"), ScenesFolder(),
                                                QString::fromLatin1(kSceneFilter));
    // A scene that has a file proposes it, in its own folder.
    if (!currentPath.empty())
        dialog->selectFile(QFile::decodeName(QByteArray::fromStdString(currentPath)));
    dialog->setObjectName(QStringLiteral("saveSceneDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Without it "room" would be saved as a file the Open command ignores.
    dialog->setDefaultSuffix(QStringLiteral("cgs"));
    return dialog;
}

std::optional<std::string> AskSaveScenePath(QWidget* parent, const std::string& currentPath)
{
    return RunForFile(*MakeSaveSceneDialog(parent, currentPath), kScenesFolderKind);
}

std::unique_ptr<QFileDialog> MakeSaveImageDialog(QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setObjectName(QStringLiteral("saveImageDialog"));
    dialog->setDirectory(LastFolder(kImagesFolderKind, QString()));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters(ImageFilters());
    dialog->setDefaultSuffix(QStringLiteral("bmp"));
    // The suffix follows the filter, so the overwrite check sees the real name.
    QFileDialog* raw = dialog.get();
    QObject::connect(raw, &QFileDialog::filterSelected, raw, [raw](const QString& filter) {
        const qsizetype index = ImageFilters().indexOf(filter);
        raw->setDefaultSuffix(index == 0 ? QStringLiteral("bmp") : index == 1 ? QStringLiteral("tga") : QString());
    });
    return dialog;
}

std::optional<SaveImageAnswer> AskSaveImage(QWidget* parent)
{
    const std::unique_ptr<QFileDialog> dialog = MakeSaveImageDialog(parent);
    std::optional<std::string> path = RunForFile(*dialog, kImagesFolderKind);
    if (!path)
        return std::nullopt;
    const qsizetype filter = ImageFilters().indexOf(dialog->selectedNameFilter());
    return SaveImageAnswer{std::move(*path), filter < 0 ? ImageFilter::AllFiles : static_cast<ImageFilter>(filter + 1)};
}

QStringList NameFiltersOf(const std::string& filter)
{
    QStringList filters;
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        if (description.isEmpty() && patterns.isEmpty())
            break; // the "||" that ends the list
        filters << (description.contains(QLatin1Char('(')) ? description
                                                            : description + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

std::unique_ptr<QFileDialog> MakeOpenFileDialog(QWidget* parent, const OpenFileQuestion& question)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QString::fromStdString(question.title),
                                                QFile::decodeName(QByteArray::fromStdString(question.startFolder)));
    dialog->setObjectName(QStringLiteral("openFileDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(NameFiltersOf(question.filter));
    // The name after the last "\" or "/" of the proposed path.
    const std::string& proposed = question.proposedName;
    const std::string::size_type cut = proposed.find_last_of("\\/");
    if (!proposed.empty())
        dialog->selectFile(QFile::decodeName(
            QByteArray::fromStdString(cut == std::string::npos ? proposed : proposed.substr(cut + 1))));
    return dialog;
}

std::optional<std::string> AskOpenFile(QWidget* parent, const OpenFileQuestion& question)
{
    return RunForFile(*MakeOpenFileDialog(parent, question));
}

} // namespace zelvane
