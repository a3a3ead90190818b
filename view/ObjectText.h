#pragma once
// Texts of the game's files in Qt's widgets. Catalog names and descriptions
// come from the object model already decoded from their string list's code
// page (CatalogStrings::DisplayName), as UTF-8, and go back as UTF-8, which
// the model encodes for the list or refuses with a reason. Resource names are
// the file's own bytes, in the code page of the game's first language slot
// (Windows-1252): shown decoded, typed names stored encoded, and a name the
// code page cannot hold is kept as typed (UTF-8) rather than lost.

#include <QString>

#include <string>
#include <string_view>

namespace zelvane {

// Catalog names and descriptions (UTF-8 both ways).
QString FromObjectText(std::string_view text);
std::string ToObjectText(const QString& text);

// Resource names (the file's bytes).
QString FromResourceName(std::string_view bytes);
std::string ToResourceName(const QString& text);

} // namespace zelvane
