#include "view/EditorSettings.h"

namespace zelvane {

std::unique_ptr<QSettings> OpenEditorSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("zelvane"),
                                       QStringLiteral("zelvane"));
}

} // namespace zelvane
