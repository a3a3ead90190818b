#include "app/RecentFileList.h"

#include "view/EditorSettings.h"

namespace zelvane {

namespace {

QString KeyOf(int entry)
{
    return QStringLiteral("Recent File List/File%1").arg(entry);
}

} // namespace

QStringList RecentFileList::Files()
{
    const auto settings = OpenEditorSettings();
    QStringList files;
    for (int i = 1; i <= kSize; ++i) {
        const QString file = settings->value(KeyOf(i)).toString();
        if (!file.isEmpty() && !files.contains(file))
            files.append(file);
    }
    return files;
}

void RecentFileList::Add(const QString& path)
{
    QStringList files = Files();
    files.removeAll(path);
    files.prepend(path);
    Store(files);
}

void RecentFileList::Remove(const QString& path)
{
    QStringList files = Files();
    files.removeAll(path);
    Store(files);
}

void RecentFileList::Store(const QStringList& files)
{
    const auto settings = OpenEditorSettings();
    for (int i = 1; i <= kSize; ++i) {
        if (i <= files.size())
            settings->setValue(KeyOf(i), files[i - 1]);
        else
            settings->remove(KeyOf(i));
    }
}

} // namespace zelvane
