#include "app/FileDialogs.h"

#include "report/ProgramFolders.h"

#include <QDir>

namespace zelvane {

namespace {

// The program's "Scenes" folder, else the folder it was started in.
QString ScenesFolder()
{
    const std::optional<std::string> scenes = FindProgramFolder("Scenes");
    return QString::fromStdString(scenes ? *scenes : StartFolder());
}

std::optional<std::string> RunForFile(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
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
    return RunForFile(*MakeOpenSceneDialog(parent));
}

std::unique_ptr<QFileDialog> MakeSaveSceneDialog(QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QString(), ScenesFolder(), QString::fromLatin1(kSceneFilter));
    dialog->setObjectName(QStringLiteral("saveSceneDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Without it "room" would be saved as a file the Open command ignores.
    dialog->setDefaultSuffix(QStringLiteral("cgs"));
    return dialog;
}

std::optional<std::string> AskSaveScenePath(QWidget* parent)
{
    return RunForFile(*MakeSaveSceneDialog(parent));
}

std::unique_ptr<QFileDialog> MakeSaveImageDialog(QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setObjectName(QStringLiteral("saveImageDialog"));
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

std::optional<ImageFileChoice> AskSaveImage(QWidget* parent)
{
    const std::unique_ptr<QFileDialog> dialog = MakeSaveImageDialog(parent);
    const std::optional<std::string> path = RunForFile(*dialog);
    if (!path)
        return std::nullopt;
    const qsizetype filter = ImageFilters().indexOf(dialog->selectedNameFilter());
    return ChooseImageFile(*path, static_cast<ImageFilter>(filter < 0 ? 3 : filter + 1));
}

std::unique_ptr<QFileDialog> MakeLocateTextureDialog(QWidget* parent, const std::string& path,
                                                     const std::string& sceneFolder)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QString::fromLatin1(kLocateTitle),
                                                QString::fromStdString(sceneFolder));
    dialog->setObjectName(QStringLiteral("locateTextureDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters({QStringLiteral("All Texture Files (*.bmp)"), QStringLiteral("Windows Bitmap (*.bmp)")});
    // The name after the last "\" or "/" of the stored path.
    const std::string::size_type cut = path.find_last_of("\\/");
    dialog->selectFile(QString::fromStdString(cut == std::string::npos ? path : path.substr(cut + 1)));
    return dialog;
}

std::optional<std::string> AskLocateTexture(QWidget* parent, const std::string& path, const std::string& sceneFolder)
{
    return RunForFile(*MakeLocateTextureDialog(parent, path, sceneFolder));
}

} // namespace zelvane
