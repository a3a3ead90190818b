#pragma once
// A short line of text as solid 3-D letters (kind 7). Every character has two
// display lists of its own, made from the font's outlines: the extruded letter
// and its outline loops; the lists of all characters form two ranges that are
// drawn in one call, each list moving on by its glyph's width. The text is
// centred on the object's position unless centring is off. Creating or
// changing a text object needs a current context, as its lists are built then
// (without one the letters draw nothing, but their widths are known).
//
// Sections: construction; drawing; the scene file record; text and font; the
// stored tail; fields.

#include "scene/COGLObject.h"
#include "scene/text/GlyphMetrics.h"
#include "scene/text/LogicalFont.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

class ByteReader;
class ByteWriter;

// What a text's tail in a scene file holds, as values.
struct TextValues {
    std::uint8_t centered = 1;  // the centring flag's low byte
    Vector3 offset;
    float extrusion = 0.5f;
    std::string text = " ";     // Windows-1252, at most 32 bytes
    std::string face = "Arial"; // at most 31 characters
    std::uint8_t italic = 0;

    friend bool operator==(const TextValues&, const TextValues&) = default;
};

class COGLText : public COGLObject {
public:
    static constexpr std::size_t kMostCharacters = 32;
    // The scene file's tail after the common record.
    static constexpr std::size_t kTailSize = 82;

    // One space in "Arial", extruded by 0.5, centred; its lists are built.
    COGLText();
    // Frees the lists.
    ~COGLText() override;

    // Placed with the text offset after the turn; the character lists called
    // as one range (outlines in wireframe), textured through coordinates
    // generated from the letters' x and y.
    void Draw(DrawFlags flags) override;
    // With the polygon attributes kept; the outline range when the pick style
    // asks for it.
    void DrawForPicking() override;
    // The box from the baseline's start to (width, 1, −extrusion).
    void DrawCage() override;
    // Red beyond the text's end, green above its middle, blue in front of it.
    void DrawAxes() override;
    // The cage's box, with the text's offset.
    Box3 SceneBox() const override;

    // The common record, then the text's tail (WriteTail): 353 bytes.
    void SaveObject(SceneFileWriter& file, std::int32_t textureIndex) const override;
    // The common record, then the tail (ReadTail), which builds the letters.
    // A cut tail leaves `file` failed and the letters as they were.
    std::int32_t LoadObject(SceneFileReader& file) override;

    // Store the value and place the text anew.
    void SetScaleX(float x) override;
    void SetScaleY(float y) override;
    void SetScaleZ(float z) override;

    // The characters to show (up to a 0 byte); the lists are not rebuilt. More
    // than 32 show "Text too long, truncating." and keep the first 32; an empty
    // text becomes one space.
    void SetText(std::string_view text);
    // Takes the installed outline family of exactly this name (case matters;
    // "Arial" is also found as Liberation Sans) as the font, upright. False,
    // with the font unchanged, when there is none.
    bool FindFont(std::string_view faceName);
    // FindFont of `faceName`, else of "Arial" (if that fails too the font
    // stays as it was); then the lists are built anew with `extrusion`
    // (a depth that is negative or not a number becomes 0).
    void SetFont(std::string_view faceName, float extrusion);
    // The lists built anew and the text placed anew.
    void Rebuild();
    // SetText, with the lists built anew.
    void ReplaceText(std::string_view text);
    // For the Copy command: the base copy, then centring, offset, extrusion,
    // character count and font from `source`, and its text with new lists.
    void CopyText(const COGLText& source);

    // The text's 82 bytes after the common record of a scene file: the
    // centring flag's low byte, the text offset, the extrusion, the text and
    // the face name in 32 bytes each (zero-padded), the italic flag.
    void WriteTail(ByteWriter& out) const;
    // Reads that tail and builds the letters from it: text and font as
    // stored (a face that is not installed falls back to "Arial"). False,
    // with the object unchanged, when fewer than 82 bytes remain.
    bool ReadTail(ByteReader& in);
    // The tail's values, and the same taken as ReadTail takes them (a longer
    // text or face name is cut as WriteTail would cut it).
    TextValues Values() const;
    void SetValues(const TextValues& values);

    const std::string& Text() const { return text_; }
    float Extrusion() const { return extrusion_; }
    const std::vector<GlyphMetrics>& Metrics() const { return glyphMetrics_; }
    bool IsCentered() const { return centered_ != 0; }
    // Places the text anew.
    void SetCentered(bool centered);
    const LogicalFont& Font() const { return font_; }
    void SetItalic(bool italic) { font_.italic = italic ? 1 : 0; }
    const Vector3& TextOffset() const { return textOffset_; }
    std::int32_t CharCount() const { return charCount_; }

protected:
    // The text offset, between the turn and the scaling.
    void ApplyShapeOffset() const override;
    // The whole range of character lists from `list` on.
    void CallList(GLuint list) const override;

private:
    void BuildLists();
    void FreeLists();
    void UpdateOffsets();

    std::string text_ = " ";
    float extrusion_ = 0.5f;
    std::vector<GlyphMetrics> glyphMetrics_;
    // Only its low byte is stored in scene files, and only that is read back.
    std::int32_t centered_ = 1;
    LogicalFont font_;
    Vector3 textOffset_;
    std::int32_t charCount_ = 1;
    // The lists made by the last build, and in which context.
    GLsizei listCount_ = 0;
    std::uint64_t listGeneration_ = 0;
};

} // namespace zelvane
