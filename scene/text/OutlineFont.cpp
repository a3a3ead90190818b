#include "scene/text/OutlineFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace zelvane {

namespace {

// Curves never split into more than this many segments, whatever the font
// claims: a glyph's size is bounded.
constexpr int kMostSegmentsPerCurve = 64;

// FreeType for the whole run: faces are shared and fonts stay open.
FT_Library Library()
{
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

// Turns FreeType's outline segments into polylines in em units.
class Flattener {
public:
    Flattener(float unitsPerEm, float slant) : scale_(1.0f / unitsPerEm), slant_(slant) {}

    std::vector<OutlineContour> Flatten(FT_Outline& outline)
    {
        static const FT_Outline_Funcs kFuncs = {&MoveTo, &LineTo, &ConicTo, &CubicTo, 0, 0};
        if (FT_Outline_Decompose(&outline, &kFuncs, this) != 0)
            return {};
        std::vector<OutlineContour> closed;
        for (OutlineContour& contour : contours_) {
            if (contour.size() > 1 && contour.back() == contour.front())
                contour.pop_back();
            if (contour.size() >= 3)
                closed.push_back(std::move(contour));
        }
        return closed;
    }

private:
    static Flattener& Of(void* user) { return *static_cast<Flattener*>(user); }

    OutlinePoint Map(const FT_Vector& v) const
    {
        const float y = static_cast<float>(v.y) * scale_;
        return {static_cast<float>(v.x) * scale_ + slant_ * y, y};
    }

    void Add(const OutlinePoint& p)
    {
        OutlineContour& contour = contours_.back();
        if (contour.empty() || !(contour.back() == p))
            contour.push_back(p);
    }

    static int MoveTo(const FT_Vector* to, void* user)
    {
        Flattener& self = Of(user);
        self.contours_.emplace_back();
        self.Add(self.Map(*to));
        return 0;
    }

    static int LineTo(const FT_Vector* to, void* user)
    {
        Flattener& self = Of(user);
        if (self.contours_.empty())
            return 1;
        self.Add(self.Map(*to));
        return 0;
    }

    // Enough segments that the chord stays within kFlatness of a curve whose
    // second derivative is at most `bend` (the chord of a parameter step h
    // strays at most bend·h²/8).
    static int SegmentsFor(float bend)
    {
        const float segments = std::ceil(std::sqrt(bend / (8.0f * OutlineFont::kFlatness)));
        return std::clamp(static_cast<int>(segments), 1, kMostSegmentsPerCurve);
    }

    static float Length(float x, float y) { return std::sqrt(x * x + y * y); }

    static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
    {
        Flattener& self = Of(user);
        if (self.contours_.empty() || self.contours_.back().empty())
            return 1;
        const OutlinePoint p0 = self.contours_.back().back();
        const OutlinePoint p1 = self.Map(*control);
        const OutlinePoint p2 = self.Map(*to);
        const int n = SegmentsFor(2.0f * Length(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y));
        for (int i = 1; i <= n; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(n);
            const float u = 1.0f - t;
            self.Add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
        }
        return 0;
    }

    static int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
    {
        Flattener& self = Of(user);
        if (self.contours_.empty() || self.contours_.back().empty())
            return 1;
        const OutlinePoint p0 = self.contours_.back().back();
        const OutlinePoint p1 = self.Map(*control1);
        const OutlinePoint p2 = self.Map(*control2);
        const OutlinePoint p3 = self.Map(*to);
        const float bend = 6.0f
            * std::max(Length(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                       Length(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
        const int n = SegmentsFor(bend);
        for (int i = 1; i <= n; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(n);
            const float u = 1.0f - t;
            const float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            self.Add({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
        }
        return 0;
    }

    float scale_;
    float slant_;
    std::vector<OutlineContour> contours_;
};

GlyphMetrics MetricsOf(const std::vector<OutlineContour>& contours, float advance)
{
    GlyphMetrics metrics;
    metrics.cellIncX = advance;
    if (contours.empty())
        return metrics;
    float left = contours[0][0].x, right = left, bottom = contours[0][0].y, top = bottom;
    for (const OutlineContour& contour : contours)
        for (const OutlinePoint& p : contour) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            bottom = std::min(bottom, p.y);
            top = std::max(top, p.y);
        }
    metrics.blackBoxX = right - left;
    metrics.blackBoxY = top - bottom;
    metrics.glyphOriginX = left;
    metrics.glyphOriginY = top;
    return metrics;
}

} // namespace

struct OutlineFont::Face {
    FT_Face face = nullptr;
    ~Face()
    {
        if (face)
            FT_Done_Face(face);
    }
};

OutlineFont::OutlineFont(std::unique_ptr<Face> face, bool syntheticItalic)
    : face_(std::move(face)), syntheticItalic_(syntheticItalic)
{
}

OutlineFont::~OutlineFont() = default;

std::shared_ptr<const OutlineFont> OutlineFont::Open(const FontFile& file)
{
    using Key = std::tuple<std::string, int, bool>;
    static std::map<Key, std::shared_ptr<const OutlineFont>> opened;
    const Key key{file.path, file.index, file.syntheticItalic};
    if (const auto found = opened.find(key); found != opened.end())
        return found->second;

    std::shared_ptr<const OutlineFont> font;
    auto face = std::make_unique<Face>();
    if (Library() && FT_New_Face(Library(), file.path.c_str(), file.index, &face->face) == 0
        && FT_IS_SCALABLE(face->face) && face->face->units_per_EM > 0) {
        // Symbol fonts may lack a Unicode map; the default map then serves.
        FT_Select_Charmap(face->face, FT_ENCODING_UNICODE);
        font.reset(new OutlineFont(std::move(face), file.syntheticItalic));
    }
    // A file that does not open is remembered too, so it is not tried again.
    opened.emplace(key, font);
    return font;
}

std::optional<GlyphOutline> OutlineFont::Outline(char32_t character) const
{
    FT_Face face = face_->face;
    const FT_UInt index = FT_Get_Char_Index(face, character);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0
        || face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return std::nullopt;
    const float unitsPerEm = static_cast<float>(face->units_per_EM);
    FT_Outline& outline = face->glyph->outline;

    GlyphOutline glyph;
    glyph.fillOnRight = FT_Outline_Get_Orientation(&outline) != FT_ORIENTATION_POSTSCRIPT;
    glyph.evenOdd = (outline.flags & FT_OUTLINE_EVEN_ODD_FILL) != 0;
    glyph.contours = Flattener(unitsPerEm, syntheticItalic_ ? kItalicSlant : 0.0f).Flatten(outline);
    glyph.metrics = MetricsOf(glyph.contours, static_cast<float>(face->glyph->metrics.horiAdvance) / unitsPerEm);
    return glyph;
}

std::optional<GlyphBitmap> OutlineFont::Bitmap(char32_t character, int pixels) const
{
    FT_Face face = face_->face;
    if (pixels < 1 || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0)
        return std::nullopt;
    if (syntheticItalic_) {
        FT_Matrix slant = {0x10000, static_cast<FT_Fixed>(kItalicSlant * 0x10000), 0, 0x10000};
        FT_Set_Transform(face, &slant, nullptr);
    }
    const FT_UInt index = FT_Get_Char_Index(face, character);
    const FT_Error error = FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
    if (syntheticItalic_)
        FT_Set_Transform(face, nullptr, nullptr);
    if (error != 0)
        return std::nullopt;

    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& source = slot->bitmap;
    if (source.pixel_mode != FT_PIXEL_MODE_MONO && source.pixel_mode != FT_PIXEL_MODE_GRAY && source.width > 0)
        return std::nullopt;
    GlyphBitmap bitmap;
    bitmap.width = static_cast<int>(source.width);
    bitmap.rows = static_cast<int>(source.rows);
    bitmap.left = slot->bitmap_left;
    bitmap.top = slot->bitmap_top;
    bitmap.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    const std::size_t rowBytes = (source.width + 7) / 8;
    bitmap.bits.assign(rowBytes * source.rows, 0);
    // The pitch steps one row down; when it is negative the top row is the
    // last one in memory.
    const std::ptrdiff_t pitch = source.pitch;
    const unsigned char* topRow =
        source.rows == 0 ? source.buffer : source.buffer + (pitch < 0 ? -pitch * (source.rows - 1) : 0);
    for (unsigned row = 0; row < source.rows; ++row) {
        const unsigned char* in = topRow + static_cast<std::ptrdiff_t>(row) * pitch;
        std::uint8_t* out = bitmap.bits.data() + (source.rows - 1 - row) * rowBytes;
        for (unsigned x = 0; x < source.width; ++x) {
            const bool ink = source.pixel_mode == FT_PIXEL_MODE_MONO ? (in[x / 8] >> (7 - x % 8)) & 1 : in[x] >= 128;
            if (ink)
                out[x / 8] = static_cast<std::uint8_t>(out[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return bitmap;
}

} // namespace zelvane
