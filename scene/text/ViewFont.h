#pragma once
// The view's bitmap font: the 10-point "Arial" of the screen (13 pixels to the
// em at 96 dots per inch) rasterised by FreeType, one glBitmap display list
// per code page character 0 to 254, at the fixed list names 1000 to 1254 that
// the view's text drawing calls. A missing font leaves lists that draw
// nothing; it never ends the program.

#include <GL/gl.h>

#include <string>
#include <string_view>

namespace zelvane {

inline constexpr GLuint kViewFontListBase = 1000;
inline constexpr int kViewFontGlyphs = 255;
inline constexpr int kViewFontPixelsPerEm = 13;

// Builds the lists in the current context (the view does so once, right after
// making its context). False, with `error` saying why and nothing built, when
// no context is current or a list of those names exists already (it would be
// overwritten).
bool BuildViewFontLists(std::string& error);

// Draws `text` (code page bytes) from the current raster position, which moves
// on past it.
void DrawViewFontText(std::string_view text);

// How many pixels the raster position moves for `text` (0 before the lists
// are built).
int ViewFontTextWidth(std::string_view text);

} // namespace zelvane
