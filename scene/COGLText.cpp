#include "scene/COGLText.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "report/ErrorLog.h"
#include "report/Reporter.h"
#include "scene/ActiveGLContext.h"
#include "scene/GLErrors.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"
#include "scene/text/ExtrudedGlyph.h"
#include "scene/text/FontCatalog.h"
#include "scene/text/GlyphLists.h"
#include "scene/text/OutlineFont.h"
#include "scene/text/Windows1252.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace zelvane {

namespace {

constexpr std::string_view kDefaultFace = "Arial";
constexpr std::string_view kTooLong = "Text too long, truncating.";

// The tail's fields: text and face name each fill a fixed field.
constexpr std::size_t kTextField = 32;
constexpr std::size_t kFaceField = 32;
static_assert(COGLText::kTailSize == scene_file::kTextTailSize);

// The list offsets 0, 1, …, 31 that draw a range of character lists in order.
const std::array<GLubyte, COGLText::kMostCharacters>& ListOffsets()
{
    static const auto offsets = [] {
        std::array<GLubyte, COGLText::kMostCharacters> table{};
        std::iota(table.begin(), table.end(), GLubyte{0});
        return table;
    }();
    return offsets;
}

// A negative or non-numeric depth would turn the letters inside out.
float UsableExtrusion(float extrusion)
{
    return std::isfinite(extrusion) && extrusion > 0.0f ? extrusion : 0.0f;
}

} // namespace

COGLText::COGLText() : COGLObject(ObjectKind::Text, KindLists{})
{
    FindFont(kDefaultFace);
    SetExtent({Extent().x, Extent().y, 0.5f});
    BuildLists();
    UpdateOffsets();
}

COGLText::~COGLText()
{
    FreeLists();
}

// --- Drawing -----------------------------------------------------------------

void COGLText::Draw(DrawFlags flags)
{
    DrawList(flags, (flags & kDrawWireframe) ? WireList() : SolidList(), {TextureOffset(), TextureScale(), true});
    glFrontFace(GL_CCW);
}

void COGLText::DrawForPicking()
{
    if (Id() & kHiddenBit)
        return;
    glPushAttrib(GL_POLYGON_BIT);
    COGLObject::DrawForPicking();
    glPopAttrib();
}

void COGLText::DrawCage()
{
    const Vector3& e = Extent();
    DrawCageBox({0.0f, 0.0f, -extrusion_}, {e.x, e.y, 0.0f}, CagePlacement::ShapeOffset);
}

void COGLText::DrawAxes()
{
    const Vector3& e = Extent();
    DrawAxisMarkers({e.x, 0.0f, -e.z / 2}, {e.x / 2, e.y, -e.z / 2}, {e.x / 2, 0.0f, 0.0f});
}

Box3 COGLText::SceneBox() const
{
    const Vector3& e = Extent();
    return PlacedBox(Box3::Spanning({0.0f, 0.0f, -extrusion_}, {e.x, e.y, 0.0f}), textOffset_);
}

void COGLText::ApplyShapeOffset() const
{
    glTranslatef(textOffset_.x, textOffset_.y, textOffset_.z);
}

void COGLText::CallList(GLuint list) const
{
    // A text given but not yet built has no more lists than the last build.
    const GLsizei count = std::min<GLsizei>(charCount_, listCount_);
    if (list == 0 || count < 1)
        return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(list);
    glCallLists(count, GL_UNSIGNED_BYTE, ListOffsets().data());
    glPopAttrib();
}

// --- The scene file record -------------------------------------------------------

void COGLText::SaveObject(SceneFileWriter& file, std::int32_t textureIndex) const
{
    COGLObject::SaveObject(file, textureIndex);
    ByteWriter tail;
    WriteTail(tail);
    file.Raw(tail.data());
}

std::int32_t COGLText::LoadObject(SceneFileReader& file)
{
    const std::int32_t textureIndex = COGLObject::LoadObject(file);
    const std::span<const std::uint8_t> tail = file.Raw(kTailSize);
    if (file.ok()) {
        ByteReader in(tail);
        ReadTail(in);
    }
    return textureIndex;
}

// --- Text and font -------------------------------------------------------------

void COGLText::SetScaleX(float x)
{
    COGLObject::SetScaleX(x);
    UpdateOffsets();
}

void COGLText::SetScaleY(float y)
{
    COGLObject::SetScaleY(y);
    UpdateOffsets();
}

void COGLText::SetScaleZ(float z)
{
    COGLObject::SetScaleZ(z);
    UpdateOffsets();
}

void COGLText::SetCentered(bool centered)
{
    centered_ = centered ? 1 : 0;
    UpdateOffsets();
}

void COGLText::SetText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    if (text.size() > kMostCharacters) {
        CurrentReporter().ShowMessage(kTooLong, MessageIcon::Warning, MessageButtons::Ok);
        text = text.substr(0, kMostCharacters);
    }
    text_ = text.empty() ? std::string(" ") : std::string(text);
    charCount_ = static_cast<std::int32_t>(text_.size());
}

bool COGLText::FindFont(std::string_view faceName)
{
    if (!CurrentFontCatalog().HasFamily(faceName))
        return false;
    // As the platform's font enumeration hands the family over: upright.
    font_ = LogicalFont{std::string(faceName), 0};
    return true;
}

void COGLText::SetFont(std::string_view faceName, float extrusion)
{
    if (!FindFont(faceName))
        FindFont(kDefaultFace);
    extrusion_ = UsableExtrusion(extrusion);
    Rebuild();
}

void COGLText::Rebuild()
{
    FreeLists();
    BuildLists();
    UpdateOffsets();
}

void COGLText::ReplaceText(std::string_view text)
{
    FreeLists();
    SetText(text);
    BuildLists();
    UpdateOffsets();
}

void COGLText::CopyText(const COGLText& source)
{
    CopyFrom(source);
    centered_ = source.centered_;
    textOffset_ = source.textOffset_;
    extrusion_ = source.extrusion_;
    charCount_ = source.charCount_;
    font_ = source.font_;
    ReplaceText(source.text_);
}

void COGLText::BuildLists()
{
    charCount_ = static_cast<std::int32_t>(text_.size());
    const auto count = static_cast<GLsizei>(charCount_);

    // Without a current context there are no lists, but the glyphs are still
    // measured so that the text is placed right.
    GLuint polygons = IsGLContextCurrent() ? glGenLists(count) : 0;
    GLuint lines = polygons ? glGenLists(count) : 0;
    if (polygons && !lines) {
        glDeleteLists(polygons, count);
        polygons = 0;
    }
    listCount_ = lines ? count : 0;
    listGeneration_ = ActiveGLContextGeneration();

    const std::optional<FontFile> file = CurrentFontCatalog().ClosestFaceOf(font_.faceName, font_.italic != 0);
    const std::shared_ptr<const OutlineFont> font = file ? OutlineFont::Open(*file) : nullptr;
    if (!font)
        LogDebug("No outline font can draw the text \"" + text_ + "\" in \"" + font_.faceName + "\"\n");

    glyphMetrics_.assign(text_.size(), GlyphMetrics{});
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const char32_t character = CodePointOf1252(static_cast<std::uint8_t>(text_[i]));
        std::optional<GlyphOutline> glyph = font ? font->Outline(character) : std::nullopt;
        // A glyph the font cannot give stays empty: it takes no room and the
        // rest of the text is still drawn.
        if (!glyph) {
            if (font)
                LogDebug("The font of \"" + font_.faceName + "\" cannot outline character "
                         + std::to_string(static_cast<std::uint32_t>(character)) + "\n");
            glyph = GlyphOutline{};
        }
        glyphMetrics_[i] = glyph->metrics;
        if (listCount_ > 0)
            CompileGlyphLists(*glyph, ExtrudeGlyph(*glyph, extrusion_), polygons + static_cast<GLuint>(i),
                              lines + static_cast<GLuint>(i));
    }
    SetLists({polygons, lines});
    if (PickStyle() == kPickByOutline)
        SetPickList(lines);
}

void COGLText::FreeLists()
{
    glyphMetrics_.clear();
    if (listCount_ > 0 && listGeneration_ == ActiveGLContextGeneration()) {
        // Lists made in another context went with it; these names may now be
        // someone else's.
        IGLContext& context = ActiveGLContext();
        context.BeginGL();
        glDeleteLists(SolidList(), listCount_);
        glDeleteLists(WireList(), listCount_);
        context.EndGL();
    }
    listCount_ = 0;
    SetLists({});
}

void COGLText::UpdateOffsets()
{
    float width = 0.0f;
    for (const GlyphMetrics& metrics : glyphMetrics_)
        width += metrics.cellIncX;
    SetExtent({width, Extent().y, Extent().z});
    textOffset_ = centered_ ? Vector3{-width * scale_.x * 0.5f, 0.0f, extrusion_ * 0.5f} : Vector3{};
}

// --- The stored tail -------------------------------------------------------------

void COGLText::WriteTail(ByteWriter& out) const
{
    out.u8(static_cast<std::uint8_t>(centered_ & 0xFF));
    for (const float v : {textOffset_.x, textOffset_.y, textOffset_.z, extrusion_})
        out.f32le(v);
    out.text(text_.substr(0, kTextField));
    out.fill(kTextField - std::min(text_.size(), kTextField), 0);
    const std::string_view face = std::string_view(font_.faceName).substr(0, kFaceField - 1);
    out.text(face);
    out.fill(kFaceField - face.size(), 0);
    out.u8(font_.italic);
}

TextValues COGLText::Values() const
{
    return {static_cast<std::uint8_t>(centered_ & 0xFF), textOffset_, extrusion_, text_.substr(0, kTextField),
            std::string(std::string_view(font_.faceName).substr(0, kFaceField - 1)), font_.italic};
}

void COGLText::SetValues(const TextValues& values)
{
    // Through the stored form, so that values and a scene file build the same letters.
    ByteWriter tail;
    tail.u8(values.centered);
    for (const float v : {values.offset.x, values.offset.y, values.offset.z, values.extrusion})
        tail.f32le(v);
    const std::string_view text = std::string_view(values.text).substr(0, kTextField);
    tail.text(text);
    tail.fill(kTextField - text.size(), 0);
    const std::string_view face = std::string_view(values.face).substr(0, kFaceField - 1);
    tail.text(face);
    tail.fill(kFaceField - face.size(), 0);
    tail.u8(values.italic);
    ByteReader in(tail.data());
    static_cast<void>(ReadTail(in)); // the tail is whole
}

bool COGLText::ReadTail(ByteReader& in)
{
    if (in.remaining() < kTailSize)
        return false;
    const std::uint8_t centered = in.u8();
    const float offsetX = in.f32le();
    const float offsetY = in.f32le();
    const float offsetZ = in.f32le();
    const float extrusion = in.f32le();
    ByteReader textField = in.take_sub(kTextField);
    ByteReader faceField = in.take_sub(kFaceField);
    const std::uint8_t italic = in.u8();

    centered_ = (centered_ & ~0xFF) | centered;
    textOffset_ = {offsetX, offsetY, offsetZ};
    SetText(textField.cstring(kTextField));
    // The font and its slant are both settled before the one build.
    const std::string face = faceField.cstring(kFaceField);
    if (!FindFont(face))
        FindFont(kDefaultFace);
    font_.italic = italic;
    extrusion_ = UsableExtrusion(extrusion);
    Rebuild();
    return true;
}

} // namespace zelvane
