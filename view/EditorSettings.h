#pragma once
// The editor's settings store: one INI file, ~/.config/zelvane/zelvane.conf
// ($XDG_CONFIG_HOME), the file the game folder's search reads SIMS_DATA from,
// with the sections "Settings" and "Bars" and the recent-file list. Earlier
// versions wrote zelvane.ini beside it: when only that file exists it is
// taken over (renamed) the first time the store is opened.

#include <QSettings>
#include <QString>

#include <memory>

namespace zelvane {

std::unique_ptr<QSettings> OpenEditorSettings();

// The file OpenEditorSettings reads and writes.
QString EditorSettingsPath();

// The folder a file dialog of kind `kind` ("Scenes", "Import", ...) last
// took a file from (kept under "Folders"), while it still exists; else
// `fallback`.
QString LastFolder(const char* kind, const QString& fallback);
// Remembers the folder of `chosenFile` for dialogs of kind `kind`.
void RememberFolder(const char* kind, const QString& chosenFile);

} // namespace zelvane
