#pragma once
// The four scene files opened last, newest first, kept in the settings
// ("Recent File List/File1".."File4") so the File menu shows them in the
// next run too.

#include <QStringList>

namespace zelvane {

class RecentFileList {
public:
    static constexpr int kSize = 4;

    // The files as the settings hold them now, without empty or repeated entries.
    static QStringList Files();
    // `path` goes to the top; the oldest falls off when there are more than four.
    static void Add(const QString& path);
    static void Remove(const QString& path);

private:
    static void Store(const QStringList& files);
};

} // namespace zelvane
