#pragma once
// The editor's settings store: an INI file, organisation and application
// "zelvane" (~/.config/zelvane/zelvane.conf), with the sections "Settings"
// and "Bars" and the recent-file list.

#include <QSettings>

#include <memory>

namespace zelvane {

std::unique_ptr<QSettings> OpenEditorSettings();

} // namespace zelvane
