// The sample game's sprites: every piece draws in all twelve images, with
// soft edges, depth and a palette of its own, and the tiles of multi-tile
// pieces join up into exactly the picture of the whole piece.

#include "objects/ObjectPreview.h"
#include "objects/SpriteDecoder.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffBuilder.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleSprites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace zelvane;
using namespace zelvane::test;

namespace {

constexpr int16_t kSprite = 200;
constexpr int16_t kPalette = 300;
constexpr int16_t kGroup = 100;

// An object file holding the graphics, with one preview tile per sprite.
class GraphicsFile {
public:
    GraphicsFile(const SampleGraphics& graphics, int tilesY)
    {
        IffBuilder builder;
        builder.AddChunk(kTypePALT, kPalette, "", graphics.palette, 0);
        for (size_t k = 0; k < graphics.tiles.size(); ++k) {
            const auto id = static_cast<int16_t>(k);
            builder.AddChunk(kTypeSPR2, static_cast<int16_t>(kSprite + id), "", graphics.tiles[k].sprite, 0);
            CTGDrawGroup group;
            group.Set("tile", 20004, graphics.tiles[k].images);
            builder.AddChunk(kTypeDGRP, static_cast<int16_t>(kGroup + id), "", group.Encode());
            PreviewTile tile;
            tile.firstDrawGroup = static_cast<int16_t>(kGroup + id);
            tile.drawGroupCount = 1;
            tile.x = static_cast<int>(k) / tilesY;
            tile.y = static_cast<int>(k) % tilesY;
            tiles_.push_back(tile);
        }
        const std::string path = dir_.File("object.iff");
        WriteBytes(path, builder.Build(IffBuilder::Map::Written));
        EXPECT_EQ(file_.OpenContainer(path), kResOk);
    }

    ObjectPreview Compose(int image) { return ComposeObjectPreview(file_, tiles_, image); }
    CTGIffFile& File() { return file_; }

private:
    TempDir dir_;
    CTGIffFile file_;
    std::vector<PreviewTile> tiles_;
};

bool SamePicture(const ObjectPreview& a, const ObjectPreview& b)
{
    if (a.colour.Width() != b.colour.Width() || a.colour.Height() != b.colour.Height() || a.anchorX != b.anchorX ||
        a.anchorY != b.anchorY)
        return false;
    for (int y = 0; y < a.colour.Height(); ++y)
        if (!std::ranges::equal(a.colour.Row(y), b.colour.Row(y)) || !std::ranges::equal(a.mask.Row(y), b.mask.Row(y)))
            return false;
    return true;
}

} // namespace

// The same piece cut into tiles and drawn as one tile (every pixel given to
// tile (0, 0)) must compose to the same picture in every image: each tile's
// frame offsets follow the composer's placement in every direction and zoom.
TEST(SampleSprites, TilesOfMultiTilePiecesJoinIntoTheWholePiece)
{
    struct Piece {
        FurnitureKind kind;
        int tilesX, tilesY;
    };
    for (const Piece piece : {Piece{FurnitureKind::DiningTable, 2, 2}, Piece{FurnitureKind::Loveseat, 2, 1}}) {
        const SampleGraphics cut = DrawSampleGraphics(piece.kind, piece.tilesX, piece.tilesY, kSprite, kPalette);
        const SampleGraphics whole = DrawSampleGraphics(piece.kind, 1, 1, kSprite, kPalette);
        ASSERT_EQ(cut.error, "");
        ASSERT_EQ(whole.error, "");
        ASSERT_EQ(cut.tiles.size(), static_cast<size_t>(piece.tilesX * piece.tilesY));
        GraphicsFile cutFile(cut, piece.tilesY);
        GraphicsFile wholeFile(whole, 1);
        for (int image = 0; image < 12; ++image) {
            const ObjectPreview a = cutFile.Compose(image);
            const ObjectPreview b = wholeFile.Compose(image);
            EXPECT_TRUE(a.notes.empty());
            EXPECT_TRUE(SamePicture(a, b)) << "piece " << static_cast<int>(piece.kind) << ", image " << image;
        }
        // Every tile shows part of the piece at full size.
        for (const SampleTileGraphics& tile : cut.tiles)
            EXPECT_EQ(tile.images[10].sprites.size(), 1u);
    }
}

TEST(SampleSprites, EveryPieceDrawsInAllTwelveImagesWithDepthAlphaAndItsOwnColours)
{
    for (int kind = 0; kind <= static_cast<int>(FurnitureKind::Aquarium); ++kind) {
        SCOPED_TRACE("piece " + std::to_string(kind));
        const SampleGraphics graphics = DrawSampleGraphics(static_cast<FurnitureKind>(kind), 1, 1, kSprite, kPalette);
        ASSERT_EQ(graphics.error, "");
        ASSERT_EQ(graphics.tiles.size(), 1u);
        GraphicsFile file(graphics, 1);

        int widths[12] = {};
        for (int image = 0; image < 12; ++image) {
            const DrawGroupImage& drawn = graphics.tiles[0].images[static_cast<size_t>(image)];
            EXPECT_EQ(drawn.direction, 1 << (2 * (image % 4)));
            EXPECT_EQ(drawn.zoom, image / 4 + 1);
            ASSERT_EQ(drawn.sprites.size(), 1u);
            EXPECT_EQ(drawn.sprites[0].value1, image);

            ColourCounts counts{};
            SpriteRequest request;
            request.counts = &counts;
            SpriteFrame frame;
            LoadSprite(file.File(), kSprite, image, request, frame);
            ASSERT_TRUE(frame.status.ok()) << frame.status.message;
            EXPECT_EQ(frame.info.paletteId, kPalette);
            widths[image] = frame.info.width;
            if (image != 10)
                continue;
            // Shaded faces, soft edges and depth that varies over the piece.
            EXPECT_GT(std::count_if(counts.begin(), counts.end(), [](uint32_t n) { return n > 0; }), 24);
            int partial = 0, opaque = 0, nearest = 255, farthest = 0;
            for (int y = 0; y < frame.info.height; ++y)
                for (int x = 0; x < frame.info.width; ++x) {
                    const uint8_t a = frame.alpha.PixelByte(x, y);
                    partial += a > 0 && a < 255;
                    opaque += a == 255;
                    if (a > 0) {
                        nearest = std::min<int>(nearest, frame.depth.PixelByte(x, y));
                        farthest = std::max<int>(farthest, frame.depth.PixelByte(x, y));
                    }
                }
            EXPECT_GT(opaque, 300);
            EXPECT_GT(partial, 20);
            EXPECT_GT(farthest - nearest, 20);
            const ObjectPreview preview = file.Compose(image);
            EXPECT_TRUE(preview.notes.empty());
            EXPECT_GT(preview.colour.Width(), 17);
        }
        // Each zoom step halves the picture (give or take the soft edge).
        for (int direction = 0; direction < 4; ++direction) {
            EXPECT_NEAR(widths[8 + direction], 2 * widths[4 + direction], 3);
            EXPECT_NEAR(widths[4 + direction], 2 * widths[direction], 3);
        }
    }
}
