// The 3-D text object on the off-screen context: what its text, font and
// placement do, the letters judged by their pixels (holes open, walls seen
// from the side, back faces, outlines, textures), picking, the cage, the
// scene file's text tail byte for byte, and the view's bitmap font.

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "scene/COGLScene.h"
#include "scene/COGLText.h"
#include "scene/COGLTexture2D.h"
#include "scene/COGLViewport3D.h"
#include "scene/ObjectFactory.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"
#include "scene/ScenePicker.h"
#include "scene/text/ViewFont.h"
#include "tests/scene/GLStage.h"
#include "tests/scene/TextFixtures.h"
#include "tools/ImageFileBuilder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

namespace zelvane {
namespace {

using test::At;
using test::HolesOf;
using test::MiddleOf;
using test::StrokeLeftOf;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// The plain views look down −z at x from 0 to 4 and y from 0 to 3.
constexpr float kPixelsPerUnit = 80;
const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};

class Text : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(stage_.ok()) << stage_.Error();
        arial_ = test::SystemFont("Arial");
        if (!arial_)
            GTEST_SKIP() << "neither Arial nor Liberation Sans is installed (scripts/install-deps.sh installs it)";
    }

    GlyphOutline Outline(char c) const { return arial_->Outline(static_cast<char32_t>(c)).value(); }

    // Black, with back faces culled, white letters unlit, looking straight
    // down −z.
    void BeginPlainView()
    {
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 4, 0, 3, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        glColor3f(1, 1, 1);
    }

    static Rgb Seen(const PlainImage& image, float x, float y)
    {
        return At(image, static_cast<int>(x * kPixelsPerUnit), static_cast<int>(kHeight - y * kPixelsPerUnit));
    }

    static int Lit(const PlainImage& image)
    {
        int lit = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                lit += At(image, x, y) != kBlack;
        return lit;
    }

    // A text of twice the usual size, not centred, at (x, y, 0).
    static void Place(COGLText& text, std::string_view characters, float x, float y)
    {
        text.SetCentered(false);
        text.ReplaceText(characters);
        text.SetScale(2, 2, 2);
        text.SetPosition(x, y, 0);
    }

    test::GLStage stage_{kWidth, kHeight};
    std::shared_ptr<const OutlineFont> arial_;
};

// Display lists alive among the first names.
int LiveLists()
{
    int live = 0;
    for (GLuint name = 1; name < 4000; ++name)
        live += glIsList(name);
    return live;
}

TEST_F(Text, ANewTextIsOneCentredSpaceInArialWithItsOwnLists)
{
    const int before = LiveLists();
    {
        COGLText text;
        EXPECT_EQ(text.Text(), " ");
        EXPECT_EQ(text.Font(), (LogicalFont{"Arial", 0}));
        // The extent holds the width of the space; its depth is one half.
        EXPECT_EQ(text.Extent(), (Vector3{569.0f / 2048, 1, 0.5f}));
        EXPECT_EQ(text.TextOffset(), (Vector3{-text.Extent().x * 0.5f, 0, 0.25f}));
        EXPECT_NE(text.SolidList(), text.WireList());
        EXPECT_EQ(text.PickList(), text.SolidList());
        EXPECT_EQ(LiveLists(), before + 2);

        // Each character has two lists; the old ones go when the text changes.
        text.ReplaceText("Zelvane");
        EXPECT_EQ(text.CharCount(), 7);
        EXPECT_EQ(LiveLists(), before + 14);
        text.SetPickStyle(COGLObject::kPickByOutline);
        text.Rebuild();
        EXPECT_EQ(text.PickList(), text.WireList()) << "picks with its outlines";
        EXPECT_EQ(LiveLists(), before + 14);

        const std::unique_ptr<COGLObject> made = CreateObjectOfKind(ObjectKind::Text);
        EXPECT_EQ(LiveLists(), before + 16) << "a text's lists are its own, not its kind's";
    }
    EXPECT_EQ(LiveLists(), before) << "and go with it";
}

TEST_F(Text, TheTextIsOneTo32CharactersAndTooLongATextSaysSo)
{
    test::RecordedMessages messages;
    COGLText text;
    text.ReplaceText("");
    EXPECT_EQ(text.Text(), " ");
    EXPECT_EQ(text.CharCount(), 1);

    const std::string long33(33, 'W');
    text.ReplaceText(long33);
    EXPECT_EQ(text.Text(), long33.substr(0, 32));
    EXPECT_EQ(text.CharCount(), 32);
    EXPECT_EQ(text.Metrics().size(), 32u);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Text too long, truncating."});
    text.ReplaceText(std::string(32, 'W'));
    EXPECT_EQ(messages.Texts().size(), 1u) << "32 fit";

    // SetText alone builds nothing; drawing keeps to the lists there are.
    text.SetText("ab");
    EXPECT_EQ(text.CharCount(), 2);
    EXPECT_EQ(text.Metrics().size(), 32u);
    text.Draw(kDrawShaded);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Text, CentringAndScaleKeepTheMiddleOfTheTextOnItsPosition)
{
    COGLText text;
    text.ReplaceText("Hello");
    float width = 0;
    for (const GlyphMetrics& m : text.Metrics())
        width += m.cellIncX;
    EXPECT_FLOAT_EQ(text.Extent().x, width);
    EXPECT_NEAR(width, (1479 + 1139 + 455 + 455 + 1139) / 2048.0f, 1e-4f);

    text.SetScaleX(2);
    // Position, turn, offset, scale: the middle, at width / 2 before scaling,
    // lands on the position.
    EXPECT_FLOAT_EQ(text.TextOffset().x + 2 * width / 2, 0.0f);
    EXPECT_FLOAT_EQ(text.TextOffset().z, 0.25f);
    text.SetScaleY(3);
    EXPECT_FLOAT_EQ(text.TextOffset().x, -width) << "the x offset follows scale x only";
    text.SetCentered(false);
    EXPECT_EQ(text.TextOffset(), (Vector3{0, 0, 0}));
    text.SetCentered(true);
    text.SetFont("Arial", 0.2f);
    EXPECT_FLOAT_EQ(text.TextOffset().z, 0.1f);
}

TEST_F(Text, FontsAreFoundByTheirExactNameAndAMissingOneNeverEndsTheProgram)
{
    COGLText text;
    if (!text.FindFont("Liberation Serif"))
        GTEST_SKIP() << "fonts-liberation is needed";
    EXPECT_FALSE(text.FindFont("liberation serif"));
    EXPECT_EQ(text.Font().faceName, "Liberation Serif") << "unchanged";
    text.ReplaceText("a");
    EXPECT_NEAR(text.Extent().x, 909.0f / 2048, 1e-4f);
    text.SetFont("No Such Face", 0.25f);
    EXPECT_EQ(text.Font().faceName, "Arial");
    EXPECT_EQ(text.Extrusion(), 0.25f);
    EXPECT_NEAR(text.Extent().x, 1139.0f / 2048, 1e-4f) << "rebuilt in the new font";
    // Depths that would turn the letters inside out give flat letters.
    text.SetFont("Arial", -1.0f);
    EXPECT_EQ(text.Extrusion(), 0.0f);
    text.SetFont("Arial", std::nanf(""));
    EXPECT_EQ(text.Extrusion(), 0.0f);

    {
        // Neither Arial nor its twin: the font stays as it was, and the
        // letters are drawn in what there is.
        const test::FontFolder dejaVu({"DejaVu Sans"});
        const FontCatalogScope scope(dejaVu.Catalog());
        COGLText fallback;
        EXPECT_FALSE(fallback.FindFont("Arial"));
        fallback.SetFont("Liberation Sans", 0.5f);
        EXPECT_EQ(fallback.Font().faceName, "Arial");
        fallback.ReplaceText("O");
        EXPECT_GT(fallback.Extent().x, 0.5f);
    }
    // No font at all: nothing to draw, and nothing fails.
    const test::FontFolder none({});
    const FontCatalogScope scope(none.Catalog());
    COGLText bare;
    bare.ReplaceText("Hello");
    EXPECT_EQ(bare.CharCount(), 5);
    EXPECT_EQ(bare.Extent().x, 0.0f);
    BeginPlainView();
    bare.Draw(kDrawShaded);
    EXPECT_EQ(Lit(stage_.Context().ReadImage()), 0);
}

TEST_F(Text, LettersWithHolesShowTheirHoles)
{
    for (const char letter : {'O', 'A', 'B', '8', 'e'}) {
        SCOPED_TRACE(std::string(1, letter));
        COGLText text;
        Place(text, std::string(1, letter), 0.5f, 0.5f);
        BeginPlainView();
        text.Draw(0);
        const PlainImage image = stage_.Context().ReadImage();
        const GlyphOutline glyph = Outline(letter);
        const std::vector<OutlineContour> holes = HolesOf(glyph);
        ASSERT_FALSE(holes.empty());
        for (const OutlineContour& hole : holes) {
            const OutlinePoint middle = MiddleOf(hole);
            const OutlinePoint stroke = StrokeLeftOf(glyph, hole);
            EXPECT_EQ(Seen(image, 0.5f + 2 * middle.x, 0.5f + 2 * middle.y), kBlack) << "the hole";
            EXPECT_EQ(Seen(image, 0.5f + 2 * stroke.x, 0.5f + 2 * stroke.y), kWhite) << "the stroke beside it";
        }
    }
}

TEST_F(Text, SeenFromTheSideALetterHasWallsAsDeepAsItsExtrusion)
{
    for (const float depth : {0.5f, 0.0f}) {
        SCOPED_TRACE(depth);
        COGLText text;
        text.SetFont("Arial", depth);
        Place(text, "I", 2, 0.5f);
        // A quarter turn about y (the way the scene turns: x towards +z)
        // puts the letter's depth along x: from x = 2 on to 2 + 2 × depth.
        text.RotateY(90);
        BeginPlainView();
        text.Draw(0);
        const PlainImage image = stage_.Context().ReadImage();
        const float top = 0.5f + 2 * Outline('I').metrics.blackBoxY;
        if (depth > 0) {
            EXPECT_EQ(Seen(image, 2 + depth, 1.2f), kWhite);
            EXPECT_EQ(Seen(image, 2 + 2 * depth - 0.05f, top - 0.05f), kWhite);
            EXPECT_EQ(Seen(image, 2 + 2 * depth + 0.05f, 1.2f), kBlack);
            EXPECT_EQ(Seen(image, 2 - 0.05f, 1.2f), kBlack);
            EXPECT_NEAR(Lit(image), 2 * depth * (top - 0.5f) * kPixelsPerUnit * kPixelsPerUnit, 400);
        } else {
            EXPECT_LT(Lit(image), 2 * 200) << "a flat letter seen edge-on is at most a line";
        }
    }
}

TEST_F(Text, FromBehindTheBackFaceShowsAndKeepsItsHoles)
{
    for (const float depth : {0.5f, 0.0f}) {
        SCOPED_TRACE(depth);
        COGLText text;
        text.SetFont("Arial", depth);
        Place(text, "O", 3.5f, 0.5f);
        text.RotateY(180); // x mirrored about the position
        BeginPlainView();
        text.Draw(0);
        const PlainImage image = stage_.Context().ReadImage();
        if (depth == 0) {
            EXPECT_EQ(Lit(image), 0) << "a flat letter has no back, and its front is culled";
            continue;
        }
        const GlyphOutline glyph = Outline('O');
        const OutlineContour hole = HolesOf(glyph).at(0);
        const OutlinePoint middle = MiddleOf(hole);
        const OutlinePoint stroke = StrokeLeftOf(glyph, hole);
        EXPECT_EQ(Seen(image, 3.5f - 2 * middle.x, 0.5f + 2 * middle.y), kBlack);
        EXPECT_EQ(Seen(image, 3.5f - 2 * stroke.x, 0.5f + 2 * stroke.y), kWhite);
    }
}

TEST_F(Text, WireframeDrawsTheOutlinesOnly)
{
    COGLText text;
    Place(text, "I", 1, 0.5f);
    BeginPlainView();
    text.Draw(kDrawWireframe);
    const PlainImage image = stage_.Context().ReadImage();
    const GlyphMetrics bar = Outline('I').metrics;
    const float left = 1 + 2 * bar.glyphOriginX;
    const float middle = left + bar.blackBoxX; // half the scaled width
    EXPECT_EQ(Seen(image, middle, 1.2f), kBlack) << "not filled";
    const int column = static_cast<int>(left * kPixelsPerUnit);
    const int row = static_cast<int>(kHeight - 1.2f * kPixelsPerUnit);
    EXPECT_TRUE(At(image, column - 1, row) == kWhite || At(image, column, row) == kWhite) << "the left edge";
    EXPECT_LT(Lit(image), 2 * 2 * static_cast<int>((bar.blackBoxX + bar.blackBoxY) * 2 * kPixelsPerUnit) + 20);
}

TEST_F(Text, ATextureLiesOnTheLettersFromTheirOwnXAndY)
{
    // Left half red, right half blue, across the texture's s from 0 to 1.
    TargaSpec spec;
    spec.width = 8;
    spec.height = 2;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x)
            spec.data.insert(spec.data.end(), {std::uint8_t(x < 4 ? 0 : 255), 0, std::uint8_t(x < 4 ? 255 : 0)});
    test::TempDir folder;
    test::WriteBytes(folder.File("halves.tga"), TargaFile(spec));
    COGLScene scene;
    COGLTexture2D& texture = scene.AddTexture(std::make_unique<COGLTexture2D>());
    ASSERT_TRUE(texture.Load(folder.File("halves.tga"), 0));
    scene.SetTextureFilter(0);
    scene.ApplyTextureParameters(texture);

    COGLText text;
    Place(text, "H", 0.5f, 0.5f);
    text.SetTexture(&texture);
    text.SetTextureEnvMode(GL_DECAL);
    BeginPlainView();
    text.Draw(kDrawShaded);
    const PlainImage image = stage_.Context().ReadImage();
    // s is the letter's own x in em: the H's left stem lies below 0.5, its
    // right stem above.
    const GlyphMetrics h = Outline('H').metrics;
    const float stem = 0.05f;
    EXPECT_EQ(Seen(image, 0.5f + 2 * (h.glyphOriginX + stem), 1.0f), (Rgb{255, 0, 0}));
    EXPECT_EQ(Seen(image, 0.5f + 2 * (h.glyphOriginX + h.blackBoxX - stem), 1.0f), (Rgb{0, 0, 255}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)) << "the texture state is undone";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

class TextInTheScene : public Text {
protected:
    void SetUp() override
    {
        Text::SetUp();
        if (IsSkipped())
            return;
        viewport_.SetRectangle(0, 0, kWidth, kHeight);
        viewport_.SetAxis(false);
        viewport_.Camera().SetPresetFront();
        auto made = std::make_unique<COGLText>();
        made->ReplaceText("O");
        made->SetScale(kScale, kScale, kScale);
        made->SetPosition(0, 1, 0);
        text_ = static_cast<COGLText*>(&scene_.AddObject(std::move(made)));
    }

    // Where a point of the glyph's outline (em units, on the front face) lies
    // in the world: position, then the centring offset, then the scale.
    Vector3 World(const OutlinePoint& p) const
    {
        const Vector3& at = text_->Position();
        const Vector3& offset = text_->TextOffset();
        return {at.x + offset.x + kScale * p.x, at.y + offset.y + kScale * p.y, at.z + offset.z};
    }

    // Large enough that a stroke is wider than the 5 × 5 pixels picking looks at.
    static constexpr float kScale = 6;

    PickResult PickAt(const OutlinePoint& p)
    {
        stage_.Frame(viewport_, scene_);
        const test::ScreenPoint s = test::ToScreen(viewport_, World(p));
        return zelvane::PickAt(viewport_, scene_, s.x, s.y);
    }

    COGLViewport3D viewport_;
    COGLScene scene_;
    COGLText* text_ = nullptr;
};

TEST_F(TextInTheScene, PicksTheLettersButNotThroughTheirHoles)
{
    const GlyphOutline glyph = Outline('O');
    const OutlineContour hole = HolesOf(glyph).at(0);
    EXPECT_EQ(PickAt(StrokeLeftOf(glyph, hole)).object, text_);
    EXPECT_EQ(PickAt(MiddleOf(hole)).object, nullptr);

    // Picking by outline: the edge of the stroke, not its inside.
    text_->SetPickStyle(COGLObject::kPickByOutline);
    text_->Rebuild();
    const OutlinePoint inside = StrokeLeftOf(glyph, hole);
    float edge = inside.x;
    for (const OutlineContour& contour : glyph.contours)
        edge = std::min(edge, test::LeftmostCrossing(contour, inside.y));
    EXPECT_EQ(PickAt({edge, inside.y}).object, text_);
    EXPECT_EQ(PickAt(inside).object, nullptr) << "the stroke is wider than the pick region";

    text_->Hide();
    EXPECT_EQ(PickAt({edge, inside.y}).object, nullptr);
}

TEST_F(TextInTheScene, TheCageBoxesTheTextFromItsBaselineToItsDepth)
{
    text_->RotateY(30);
    text_->ReplaceText("Hi");
    stage_.Frame(viewport_, scene_);
    text_->DrawCage();
    const PlainImage image = stage_.Context().ReadImage();
    // The cage's corners: (0 or width, 0 or 1, 0 or −extrusion), placed as
    // the letters are.
    const Matrix4 turn = text_->Orientation().ToMatrix();
    int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
    for (const float x : {0.0f, text_->Extent().x})
        for (const float y : {0.0f, text_->Extent().y})
            for (const float z : {0.0f, -text_->Extrusion()}) {
                const Vector3 local = text_->TextOffset() + Vector3{x, y, z} * kScale;
                const test::ScreenPoint p = test::ToScreen(viewport_, text_->Position() + turn.TransformDirection(local));
                left = std::min(left, p.x);
                right = std::max(right, p.x);
                top = std::min(top, p.y);
                bottom = std::max(bottom, p.y);
            }
    int red = 0, outside = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (test::Near(At(image, x, y), (Rgb{255, 0, 0}), 8)) {
                ++red;
                // The axis markers reach 0.2 (scaled) beyond the box.
                outside += x < left - 20 || x > right + 20 || y < top - 20 || y > bottom + 20;
            }
    EXPECT_GT(red, 100);
    EXPECT_EQ(outside, 0);
    int green = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            green += test::Near(At(image, x, y), (Rgb{0, 255, 0}), 8);
    EXPECT_GT(green, 5) << "the axis markers come with the cage";
}

// The text tail: 82 bytes after the common record.
std::vector<std::uint8_t> TailOf(const COGLText& text)
{
    ByteWriter out;
    text.WriteTail(out);
    return out.take();
}

TEST_F(Text, ATailFillsItsFieldsToTheEdgeAndNeverReadsPastThem)
{
    test::RecordedMessages messages;
    // 32 characters fill the field without a terminator; a face name that is
    // not installed falls back; a centring byte of 0 leaves the text where it
    // stands, whatever offset was stored; other bytes are kept as they are.
    ByteWriter tail;
    tail.u8(0);
    tail.f32le(9);
    tail.f32le(9);
    tail.f32le(9);
    tail.f32le(0.1f);
    const std::string full(32, 'M');
    tail.text(full);
    tail.text("Missing Face Whose Name Is Long!"); // 32 characters, no terminator
    tail.u8(7);
    tail.text("next record");
    ByteReader in(tail.data());
    COGLText text;
    ASSERT_TRUE(text.ReadTail(in));
    EXPECT_EQ(in.remaining(), 11u) << "exactly 82 bytes read";
    EXPECT_EQ(text.Text(), full);
    EXPECT_EQ(text.CharCount(), 32);
    EXPECT_EQ(text.Font().faceName, "Arial");
    EXPECT_EQ(text.Font().italic, 7);
    EXPECT_FALSE(text.IsCentered());
    EXPECT_EQ(text.TextOffset(), (Vector3{0, 0, 0}));
    EXPECT_TRUE(messages.Texts().empty());
    const std::vector<std::uint8_t> again = TailOf(text);
    EXPECT_EQ(std::vector<std::uint8_t>(again.begin() + 17, again.begin() + 49),
              std::vector<std::uint8_t>(full.begin(), full.end()));
    EXPECT_EQ(again.back(), 7);

    // An empty text field reads as one space; a cut tail is refused whole.
    std::vector<std::uint8_t> blank(COGLText::kTailSize, 0);
    ByteReader blankIn(blank);
    ASSERT_TRUE(text.ReadTail(blankIn));
    EXPECT_EQ(text.Text(), " ");
    EXPECT_EQ(text.Extrusion(), 0.0f);
    const std::vector<std::uint8_t> cut(tail.data().begin(), tail.data().begin() + 81);
    ByteReader cutIn(cut);
    EXPECT_FALSE(text.ReadTail(cutIn));
    EXPECT_EQ(cutIn.position(), 0u);
    EXPECT_EQ(text.Text(), " ") << "unchanged";
}

TEST_F(Text, ASceneFileHoldsATextAs353BytesAndReadsItBackWhole)
{
    COGLScene scene;
    COGLText& text = static_cast<COGLText&>(scene.AddObject(std::make_unique<COGLText>()));
    text.SetFont("Liberation Serif", 0.3f);
    text.SetItalic(true);
    text.ReplaceText("Welcome home");
    text.SetName("Sign");
    text.SetPosition(1, 2, 3);
    SceneFileWriter out;
    scene.SaveScene(out);
    ASSERT_TRUE(out.Finish()) << out.Error();
    const std::vector<std::uint8_t> bytes = out.Bytes();
    const std::size_t record = 8 + scene_file::kKindCodeSize;
    ASSERT_EQ(bytes.size(), record + 353);
    EXPECT_EQ(bytes[8], 7) << "kind 7";
    ByteWriter tail;
    tail.u8(1); // centred
    for (const float v : {text.TextOffset().x, 0.0f, 0.15f, 0.3f})
        tail.f32le(v);
    tail.text("Welcome home");
    tail.fill(32 - 12, 0);
    tail.text("Liberation Serif");
    tail.fill(32 - 16, 0);
    tail.u8(1); // italic
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + record + 271, bytes.end()), tail.data());

    COGLScene loaded;
    SceneFileReader in(bytes);
    ASSERT_TRUE(loaded.LoadScene(in, "/nowhere/a.cgs").Complete());
    ASSERT_EQ(loaded.Objects().size(), 1u);
    const auto* back = dynamic_cast<const COGLText*>(loaded.Objects()[0].get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Name(), "Sign");
    EXPECT_EQ(back->Text(), "Welcome home");
    EXPECT_EQ(back->Font(), (LogicalFont{"Liberation Serif", 1}));
    EXPECT_EQ(back->Position(), (Vector3{1, 2, 3}));
    EXPECT_EQ(back->Metrics(), text.Metrics());
    EXPECT_NE(back->SolidList(), 0u) << "its letters are built";
    SceneFileWriter again;
    loaded.SaveScene(again);
    ASSERT_TRUE(again.Finish());
    EXPECT_EQ(again.Bytes(), bytes) << "saved again byte for byte";

    // A tail cut short stops the load with a reason.
    COGLScene cut;
    const std::vector<std::uint8_t> shorter(bytes.begin(), bytes.end() - 1);
    SceneFileReader cutIn(shorter);
    EXPECT_FALSE(cut.LoadScene(cutIn, "/nowhere/a.cgs").Complete());
}

TEST_F(Text, TheViewsBitmapFontFillsLists1000To1254AndDrawsReadableText)
{
    std::string error;
    ASSERT_TRUE(BuildViewFontLists(error)) << error;
    for (GLuint list = kViewFontListBase; list < kViewFontListBase + kViewFontGlyphs; ++list)
        ASSERT_TRUE(glIsList(list)) << list;
    EXPECT_FALSE(glIsList(kViewFontListBase + kViewFontGlyphs));
    EXPECT_FALSE(BuildViewFontLists(error)) << "the names are taken now";
    EXPECT_NE(error.find("1000"), std::string::npos) << error;
    // New lists are made around them, never on top of them.
    const GLuint block = glGenLists(1200);
    EXPECT_TRUE(block + 1200 <= kViewFontListBase || block >= kViewFontListBase + kViewFontGlyphs) << block;

    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, 0, kHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glRasterPos2i(10, 100);
    DrawViewFontText("HHHH\xFF");
    const PlainImage image = stage_.Context().ReadImage();
    int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN, lit = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (At(image, x, y) != kBlack) {
                ++lit;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    // Four capitals of a 13-pixel em: about 9 pixels tall on the baseline,
    // as wide as the font says.
    EXPECT_GT(lit, 4 * 15);
    EXPECT_EQ(bottom, kHeight - 1 - 100);
    EXPECT_NEAR(bottom - top + 1, 9, 1);
    EXPECT_GE(left, 10);
    EXPECT_NEAR(right - 10, ViewFontTextWidth("HHHH"), 3);
    EXPECT_EQ(ViewFontTextWidth("HHHH\xFF"), ViewFontTextWidth("HHHH"));
    GLint raster[4];
    glGetIntegerv(GL_CURRENT_RASTER_POSITION, raster);
    EXPECT_EQ(raster[0], 10 + ViewFontTextWidth("HHHH")) << "the raster position moves on";
}

} // namespace
} // namespace zelvane
