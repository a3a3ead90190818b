#include "view/EditorSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelvane {

namespace {

// The folder where Qt keeps the user's INI files for "zelvane" (it honours
// XDG_CONFIG_HOME, and QSettings::setPath in tests).
QString SettingsFolder()
{
    const QSettings where(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("zelvane"),
                          QStringLiteral("zelvane"));
    return QFileInfo(where.fileName()).absolutePath();
}

} // namespace

QString EditorSettingsPath()
{
    return SettingsFolder() + QStringLiteral("/zelvane.conf");
}

std::unique_ptr<QSettings> OpenEditorSettings()
{
    const QString folder = SettingsFolder();
    const QString path = folder + QStringLiteral("/zelvane.conf");
    const QString earlier = folder + QStringLiteral("/zelvane.ini");
    // Once: the settings earlier versions kept under the other name.
    if (!QFileInfo::exists(path) && QFileInfo::exists(earlier))
        QFile::rename(earlier, path);
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString LastFolder(const char* kind, const QString& fallback)
{
    const QString folder =
        OpenEditorSettings()->value(QStringLiteral("Folders/") + QLatin1String(kind)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

void RememberFolder(const char* kind, const QString& chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    OpenEditorSettings()->setValue(QStringLiteral("Folders/") + QLatin1String(kind),
                                   QFileInfo(chosenFile).absolutePath());
}

} // namespace zelvane
