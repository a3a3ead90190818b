#pragma once
// Texts of the game's files (resource names, catalog names and descriptions)
// in Qt's widgets. The files hold 8-bit text in a Windows code page; each byte
// is shown as the Latin-1 character of the same number, and typed text goes
// back byte for byte, so nothing read is changed on its way back. Characters
// that have no byte (beyond U+00FF) are stored as "?".
//
// FIXME: show and store through the string lists' code-page functions once
// they exist, so that a list's own code page decides the characters.

#include <QString>

#include <string>
#include <string_view>

namespace zelvane {

QString FromObjectText(std::string_view text);
std::string ToObjectText(const QString& text);

} // namespace zelvane
