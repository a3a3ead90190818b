// Object previews: where tiles and sprites go, depth, mirroring, blending,
// the mask and the limits, and the real objects.

#include "objects/ObjectPreview.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectFileOpener.h"
#include "objects/SpriteEncoder.h"
#include "tests/objects/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <tuple>

using namespace zelvane;
using namespace zelvane::test;

namespace {

const Rgb kWhite{255, 255, 255};
const Rgb kRed{255, 0, 0};
const Rgb kGreen{0, 255, 0};
const Rgb kBlue{0, 0, 255};
const Rgb kYellow{255, 255, 0};

// An object file with the palette of the colours above (indices 1 to 4).
class PreviewFixture : public FixtureFile {
public:
    PreviewFixture()
    {
        Palette p;
        p[1] = kRed;
        p[2] = kGreen;
        p[3] = kBlue;
        p[4] = kYellow;
        Add(kTypePALT, 50, p.Encode());
    }
    void Sprite(int16_t id, const std::vector<SpriteFrame>& frames)
    {
        const EncodedSprite encoded = EncodeSpr2(frames, 50);
        ASSERT_TRUE(encoded.ok()) << encoded.error;
        Add(kTypeSPR2, id, encoded.bytes);
    }
};

PreviewTile Tile(int16_t group, int x = 0, int y = 0, int level = 0)
{
    PreviewTile t;
    t.firstDrawGroup = group;
    t.drawGroupCount = 1;
    t.x = x;
    t.y = y;
    t.level = level;
    return t;
}

// Pixel (dx, dy) from the anchor; magenta and -1 outside the image.
Rgb ColourAt(const ObjectPreview& p, int dx, int dy)
{
    const int x = p.anchorX + dx;
    const int y = p.anchorY + dy;
    const bool inside = x >= 0 && y >= 0 && x < p.colour.Width() && y < p.colour.Height();
    return inside ? p.colour.PixelColour(x, y) : Rgb{255, 0, 255};
}
int MaskAt(const ObjectPreview& p, int dx, int dy)
{
    const int x = p.anchorX + dx;
    const int y = p.anchorY + dy;
    return x >= 0 && y >= 0 && x < p.mask.Width() && y < p.mask.Height() ? p.mask.PixelByte(x, y) : -1;
}

} // namespace

// Tile (x, y) puts its frames' left edge at 64·y − 64·x and bottom edge at
// −32·x − 32·y from the pixel offsets, so four floor diamonds centred by
// their offsets tile one diamond twice their size, without a gap.
TEST(ObjectPreview, TheFourTilesOfATwoByTwoObjectMeet)
{
    PreviewFixture fixture;
    std::vector<PreviewTile> tiles;
    for (int k = 0; k < 4; ++k) {
        SpriteFrame diamond = SolidFrame(128, 64, 0, 0xFF, 0);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 128; ++x)
                if (std::abs(x - 63.5) / 64 + std::abs(y - 31.5) / 32 <= 1) {
                    diamond.colour.Row(y)[static_cast<size_t>(x)] = static_cast<uint8_t>(k + 1);
                    diamond.depth.Row(y)[static_cast<size_t>(x)] = 0x80;
                    diamond.alpha.Row(y)[static_cast<size_t>(x)] = 0xFF;
                }
        fixture.Sprite(static_cast<int16_t>(300 + k), {diamond});
        fixture.Add(kTypeDGRP, static_cast<int16_t>(200 + k), DrawGroup20004({Reference(300 + k, 0, -64, 32)}));
        tiles.push_back(Tile(static_cast<int16_t>(200 + k), k & 1, k >> 1));
    }
    const ObjectPreview p = ComposeObjectPreview(fixture.Open(), tiles);
    EXPECT_TRUE(p.notes.empty());
    EXPECT_EQ(p.colour.Width(), 256 + 16);
    EXPECT_EQ(p.colour.Height(), 128 + 16);
    for (int dy = -104; dy < 40; ++dy)
        for (int dx = -136; dx < 136; ++dx) {
            const double d = std::abs(dx + 0.5) / 128 + std::abs(dy + 32.5) / 64; // the big diamond
            if (d < 1) {
                ASSERT_EQ(MaskAt(p, dx, dy), 255) << dx << "," << dy;
            } else if (d > 1) {
                ASSERT_EQ(ColourAt(p, dx, dy), kWhite) << dx << "," << dy;
            }
        }
    EXPECT_EQ(ColourAt(p, 0, -1), kRed);      // tile (0, 0)
    EXPECT_EQ(ColourAt(p, -64, -33), kGreen); // tile (1, 0): left and up
    EXPECT_EQ(ColourAt(p, 64, -33), kBlue);   // tile (0, 1): right and up
    EXPECT_EQ(ColourAt(p, 0, -65), kYellow);  // tile (1, 1)

    // A pixel budget for three frames keeps three and says why the fourth is missing.
    const ObjectPreview budgeted =
        ComposeObjectPreview(fixture.Open(), tiles, kPreviewImageIndex, kPreviewBackground, 3 * 128 * 64);
    ASSERT_EQ(budgeted.notes.size(), 1u);
    EXPECT_NE(budgeted.notes[0].find("too many sprite pixels"), std::string::npos);
}

// Values 4 to 6 of version 20004 draw groups may hold floats beside pixel
// offsets that matter: the offsets count regardless.
TEST(ObjectPreview, OffsetsLevelsAndZoom)
{
    PreviewFixture fixture;
    fixture.Sprite(300, {SolidFrame(4, 4, 1), SolidFrame(4, 4, 2)});
    DrawGroupSprite second = Reference(300, 1, 20, -10);
    second.value4 = std::bit_cast<uint32_t>(1.5f);
    second.value6 = std::bit_cast<uint32_t>(-4.8f);
    fixture.Add(kTypeDGRP, 200, DrawGroup20004({Reference(300, 0, 0, 0), second}));
    fixture.Add(kTypeDGRP, 201, DrawGroup20004({Reference(300, 1, 0, 0)}));
    fixture.Add(kTypeDGRP, 210, DrawGroup20004({Reference(300, 0, 0, 0)}, 6));
    fixture.Add(kTypeDGRP, 211, DrawGroup20004({Reference(300, 1, 0, 0)}, 6));
    CTGIffFile& file = fixture.Open();

    const PreviewTile one[] = {Tile(200)};
    const ObjectPreview p = ComposeObjectPreview(file, one);
    EXPECT_EQ(p.colour.Width(), 24 + 16);
    EXPECT_EQ(ColourAt(p, 1, -2), kRed);
    EXPECT_EQ(ColourAt(p, 21, -12), kGreen);

    const PreviewTile upstairs[] = {Tile(201, 0, 0, 1)};
    EXPECT_EQ(ColourAt(ComposeObjectPreview(file, upstairs), 1, -52), kGreen); // 50 pixels up

    const PreviewTile full[] = {Tile(200), Tile(201, 1, 0)};
    const PreviewTile half[] = {Tile(210), Tile(211, 1, 0)};
    EXPECT_EQ(ColourAt(ComposeObjectPreview(file, full), -63, -34), kGreen);
    EXPECT_EQ(ColourAt(ComposeObjectPreview(file, half, 6), -31, -18), kGreen); // image 6: half the offsets
}

TEST(ObjectPreview, DepthSortingMirroringBlendingAndTheMask)
{
    PreviewFixture fixture;
    SpriteFrame ramp = SolidFrame(4, 1, 1);
    for (int x = 0; x < 4; ++x)
        ramp.colour.Row(0)[static_cast<size_t>(x)] = static_cast<uint8_t>(x + 1);
    SpriteFrame glass = SolidFrame(4, 1, 1, 0x80, 128); // red, half transparent, last pixel alpha 0
    glass.alpha.Row(0)[3] = 0;
    // Frame 3 is nearer than the glass by its own depth, farther by its tile's.
    fixture.Sprite(300, {ramp, SolidFrame(4, 1, 3, 0x90), glass, SolidFrame(4, 1, 3, 0x20)});
    fixture.Add(kTypeDGRP, 200, DrawGroup20004({Reference(300, 0, 0, 0, 1), Reference(300, 1, 0, 0)}));
    fixture.Add(kTypeDGRP, 201, DrawGroup20004({Reference(300, 2, 0, 0)}));
    fixture.Add(kTypeDGRP, 202, DrawGroup20004({Reference(300, 3, 64, 32)})); // over 201's frame from (1, 0)
    CTGIffFile& file = fixture.Open();

    const PreviewTile mirrored[] = {Tile(200)}; // the ramp mirrored, the farther blue frame hidden
    const ObjectPreview m = ComposeObjectPreview(file, mirrored);
    EXPECT_EQ(ColourAt(m, 0, -1), kYellow);
    EXPECT_EQ(ColourAt(m, 3, -1), kRed);

    // The glass blends over the far tile only when that is drawn first,
    // whatever order the tiles come in.
    for (bool nearFirst : {true, false}) {
        std::vector<PreviewTile> tiles = {Tile(201), Tile(202, 1, 0)};
        if (!nearFirst)
            std::swap(tiles[0], tiles[1]);
        const ObjectPreview p = ComposeObjectPreview(file, tiles);
        EXPECT_EQ(ColourAt(p, 0, -1), (Rgb{128, 0, 127}));
        EXPECT_EQ(MaskAt(p, 0, -1), 255); // the larger of 255 and 128
        EXPECT_EQ(ColourAt(p, 3, -1), kBlue);
        EXPECT_EQ(MaskAt(p, 3, -1), 0); // alpha 0 keeps the colour and clears the mask
    }
    std::vector<PreviewTile> alone = {Tile(201)};
    EXPECT_EQ(ColourAt(ComposeObjectPreview(file, alone), 0, -1), (Rgb{255, 127, 127}));
    alone[0].opacity = 128; // alpha 128 × 128 ÷ 255 = 64
    const ObjectPreview faint = ComposeObjectPreview(file, alone);
    EXPECT_EQ(ColourAt(faint, 0, -1), (Rgb{255, 191, 191}));
    EXPECT_EQ(MaskAt(faint, 0, -1), 64);
}

TEST(ObjectPreview, LeftOutSpritesEmptyObjectsAndFarPlacements)
{
    PreviewFixture fixture;
    fixture.Sprite(300, {SolidFrame(4, 4, 1)});
    fixture.Sprite(301, {SolidFrame(4, 4, 2)});
    fixture.Add(kTypeDGRP, 200, DrawGroup20004({Reference(300, 0, 0, 0), Reference(301, 0, 10, 0)}));
    fixture.Add(kTypeDGRP, 201, DrawGroup20004({Reference(300, 0, 0, 0), Reference(301, 0, 100000, 0)}));
    fixture.Add(kTypeSPR2, 302, SpriteResource(1002, 50, {Spr2Frame(4, 4, Words({0xA000}))}));
    fixture.Add(kTypeDGRP, 202, DrawGroup20004({Reference(302, 0, 10, 0), Reference(300, 0, 0, 0)}));
    CTGIffFile& file = fixture.Open();

    PreviewTile tiles[] = {Tile(200)};
    tiles[0].firstLeftOutSprite = 301;
    tiles[0].leftOutSpriteCount = 1;
    EXPECT_EQ(ComposeObjectPreview(file, tiles).colour.Width(), 4 + 16);
    tiles[0].graphicIndex = 1; // beyond its one draw group: nothing to draw
    const ObjectPreview empty = ComposeObjectPreview(file, tiles);
    EXPECT_EQ(std::tuple(empty.colour.Width(), empty.colour.Height()), std::tuple(17, 17));
    EXPECT_EQ(empty.colour.PixelColour(8, 8), kWhite);
    EXPECT_EQ(empty.mask.PixelByte(8, 8), 0);

    const PreviewTile far[] = {Tile(201)};
    const ObjectPreview p = ComposeObjectPreview(file, far);
    EXPECT_EQ(p.colour.Width(), 4 + 16);
    ASSERT_EQ(p.notes.size(), 1u);
    EXPECT_NE(p.notes[0].find("too far"), std::string::npos);
    EXPECT_TRUE(ComposeObjectPreview(file, far, 12).colour.IsNull());

    // A sprite of a later version: that frame alone is left out, and said so.
    const PreviewTile later[] = {Tile(202)};
    const ObjectPreview q = ComposeObjectPreview(file, later);
    EXPECT_EQ(ColourAt(q, 1, -2), kRed);
    ASSERT_EQ(q.notes.size(), 1u);
    EXPECT_NE(q.notes[0].find("SPR2 302 version 1002 is not read"), std::string::npos) << q.notes[0];
}

TEST(PreviewTile, TilesAreTheMembersOfAMasterOrTheObjectAlone)
{
    const Bytes member = ObjdRecord({{3, 1100}, {4, 1}, {10, 7}, {11, 0x0102}, {56, 2}, {64, 1101}, {65, 3}});
    const std::span<const uint8_t> members[] = {member};
    const std::vector<PreviewTile> tiles = PreviewTilesOf(ObjdRecord({{10, 7}, {11, -1}}), members);
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(tiles[0].firstDrawGroup, 1100);
    EXPECT_EQ(std::tuple(tiles[0].x, tiles[0].y, tiles[0].level), std::tuple(1, 2, 2));
    EXPECT_EQ(std::tuple(tiles[0].firstLeftOutSprite, tiles[0].leftOutSpriteCount), std::tuple(1101, 3));

    const std::vector<PreviewTile> alone = PreviewTilesOf(ObjdRecord({{3, 10}, {10, 7}, {11, 0x0101}, {56, 1}}), members);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].firstDrawGroup, 10);
    EXPECT_EQ(std::tuple(alone[0].x, alone[0].y, alone[0].level), std::tuple(0, 0, 0));
}

// The coffee table's tiles (0, 0) and (1, 0) draw frame 1 of sprites 1100
// and 1200 (123 × 101 and 118 × 97) at offsets (-58, 32) and (-61, 33): left
// edges -58 and -125, bottoms 32 and 1, so 190 × 128 plus the margins. The
// chair's graphics 1 to 6 carry a float in value 6; all seven place its
// 128 × 135 frame by the offsets (-62, 32).
TEST(ObjectPreviewRealFiles, TheCoffeeTableAndTheChair)
{
    const std::filesystem::path dir = TestDataDir();
    CTGIffFile table;
    CTGIffFile chair;
    if (dir.empty() || table.OpenContainer((dir / "iff/k8capcoffeetablehd.iff").string()) != kResOk ||
        chair.OpenContainer((dir / "iff/k8capchairts.iff").string()) != kResOk)
        GTEST_SKIP() << "real test files are absent";
    const auto record = [](CTGIffFile& file, int index) {
        ResHandle* h = file.GetIndResource(kTypeOBJD, index, nullptr);
        return Bytes(h->Bytes().begin(), h->Bytes().end());
    };

    const Bytes left = record(table, 2);
    const Bytes right = record(table, 3);
    const std::span<const uint8_t> members[] = {left, right};
    const ObjectPreview t = ComposeObjectPreview(table, PreviewTilesOf(record(table, 1), members));
    EXPECT_TRUE(t.notes.empty());
    EXPECT_EQ(std::tuple(t.colour.Width(), t.colour.Height()), std::tuple(206, 144));
    EXPECT_EQ(std::tuple(t.anchorX, t.anchorY), std::tuple(125 + 8, 96 + 8));

    PreviewTile seat = PreviewTilesOf(record(chair, 1), {})[0];
    ASSERT_EQ(seat.drawGroupCount, 7);
    const ObjectPreview first = ComposeObjectPreview(chair, std::span(&seat, 1));
    for (seat.graphicIndex = 1; seat.graphicIndex < 7; ++seat.graphicIndex) {
        const ObjectPreview c = ComposeObjectPreview(chair, std::span(&seat, 1));
        EXPECT_EQ(std::tuple(c.anchorX, c.anchorY), std::tuple(62 + 8, 135 - 32 + 8)) << seat.graphicIndex;
        EXPECT_TRUE(std::ranges::equal(c.colour.Bits(), first.colour.Bits())) << seat.graphicIndex;
    }
}

// The rug is six flat floor tiles (2 x 3) whose sprites are all 'SPR2'
// version 1001: composed, they make one parallelogram 5 tiles' half-widths
// across (5 x 64 pixels less the frames' own margins) without a seam, so
// every row of the picture is one unbroken run of the rug's pixels.
TEST(ObjectPreviewRealFiles, TheRugsSixTilesMakeOneFlatRug)
{
    const std::filesystem::path dir = TestDataDir();
    ObjectFileOpener opener;
    std::string why;
    if (dir.empty() || !opener.Open((dir / "iff/k8lidrug.iff").string(), {}, why))
        GTEST_SKIP() << "real test files are absent";
    CObjectFile rug("k8lidrug", opener.TakeContainer());
    ASSERT_EQ(rug.BuildLists(), kResOk);
    const CObjectEntry* master = rug.FindObject(16820);
    ASSERT_NE(master, nullptr);
    ASSERT_EQ(master->Members().size(), 6u);
    std::vector<std::span<const uint8_t>> members;
    for (const CObjectEntry* member : master->Members())
        members.push_back(member->Definition().Bytes());
    const ObjectPreview p =
        ComposeObjectPreview(rug.Container(), PreviewTilesOf(master->Definition().Bytes(), members));
    EXPECT_TRUE(p.notes.empty()) << p.notes.front();
    EXPECT_EQ(std::tuple(p.colour.Width(), p.colour.Height()), std::tuple(316, 167));

    int rows = 0;
    for (int y = 0; y < p.mask.Height(); ++y) {
        int first = -1, last = -1, covered = 0;
        for (int x = 0; x < p.mask.Width(); ++x)
            if (p.mask.PixelByte(x, y) != 0) {
                first = first < 0 ? x : first;
                last = x;
                ++covered;
            }
        if (first < 0)
            continue;
        ++rows;
        EXPECT_EQ(covered, last - first + 1) << "a gap in row " << y;
    }
    EXPECT_EQ(rows, 150); // inside the margins, less one empty frame row
}
