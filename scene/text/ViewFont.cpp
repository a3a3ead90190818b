#include "scene/text/ViewFont.h"

#include "report/ErrorLog.h"
#include "scene/GLErrors.h"
#include "scene/text/FontCatalog.h"
#include "scene/text/OutlineFont.h"
#include "scene/text/Windows1252.h"

#include <array>
#include <memory>

namespace zelvane {

namespace {

constexpr std::string_view kViewFontFace = "Arial";

// Each character's advance in pixels, as the last build made them.
std::array<int, kViewFontGlyphs>& Advances()
{
    static std::array<int, kViewFontGlyphs> advances{};
    return advances;
}

} // namespace

bool BuildViewFontLists(std::string& error)
{
    if (!IsGLContextCurrent()) {
        error = "no OpenGL context is current";
        return false;
    }
    for (int i = 0; i < kViewFontGlyphs; ++i)
        if (glIsList(kViewFontListBase + static_cast<GLuint>(i))) {
            error = "display list " + std::to_string(kViewFontListBase + static_cast<GLuint>(i)) + " is in use already";
            return false;
        }

    const std::optional<FontFile> file = CurrentFontCatalog().ClosestFaceOf(kViewFontFace, false);
    const std::shared_ptr<const OutlineFont> font = file ? OutlineFont::Open(*file) : nullptr;
    if (!font)
        LogDebug("No font for the view's text: its lists draw nothing\n");

    // glBitmap reads whole bytes per row; the lists keep the pixels as they
    // are unpacked now.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    for (int i = 0; i < kViewFontGlyphs; ++i) {
        const char32_t character = CodePointOf1252(static_cast<std::uint8_t>(i));
        const std::optional<GlyphBitmap> glyph = font ? font->Bitmap(character, kViewFontPixelsPerEm) : std::nullopt;
        Advances()[static_cast<std::size_t>(i)] = glyph ? glyph->advance : 0;
        glNewList(kViewFontListBase + static_cast<GLuint>(i), GL_COMPILE);
        if (glyph)
            glBitmap(glyph->width, glyph->rows, static_cast<GLfloat>(-glyph->left),
                     static_cast<GLfloat>(glyph->rows - glyph->top), static_cast<GLfloat>(glyph->advance), 0.0f,
                     glyph->bits.empty() ? nullptr : glyph->bits.data());
        glEndList();
    }
    glPopClientAttrib();
    return true;
}

void DrawViewFontText(std::string_view text)
{
    // Byte 255 has no list of the font, and the name after the range may be
    // another's list: it is left out.
    std::string codes;
    codes.reserve(text.size());
    for (const char c : text)
        if (static_cast<std::uint8_t>(c) < kViewFontGlyphs)
            codes.push_back(c);
    if (codes.empty())
        return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(kViewFontListBase);
    glCallLists(static_cast<GLsizei>(codes.size()), GL_UNSIGNED_BYTE, codes.data());
    glPopAttrib();
}

int ViewFontTextWidth(std::string_view text)
{
    int width = 0;
    for (const char c : text) {
        const auto code = static_cast<std::uint8_t>(c);
        if (code < kViewFontGlyphs)
            width += Advances()[code];
    }
    return width;
}

} // namespace zelvane
