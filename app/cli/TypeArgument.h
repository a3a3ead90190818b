#pragma once
// Resource types and ids as users type them on the command line.

#include "resfile/ResType.h"

#include <string_view>

namespace zelvane::cli {

// A type as the user typed it: 1 to 4 characters (shorter codes are padded
// with blanks), or the "\xNN" escapes that `list` prints for unprintable
// bytes, so a ".dir" member's "bmp\x00" can be asked for as shown. False when
// the text is neither.
bool ParseTypeArgument(std::string_view text, ResType& type);

} // namespace zelvane::cli
