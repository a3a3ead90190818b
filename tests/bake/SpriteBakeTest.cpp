// Rendering the scene into the working object's sprites, judged by what the
// preview composes from the file written: the game's diamond to the pixel,
// the real rug's depth, two tiles that join into the direct render, and a
// file that stays as it was when the bake is cancelled or fails.

#include "bake/GameCamera.h"
#include "bake/GameDepth.h"
#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "objects/SpriteDecoder.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGIffFile.h"
#include "tests/bake/BakeFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

class Bake : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(stage_.ok()) << stage_.Error(); }

    BakeResult Run(WorkingFile& work)
    {
        const BakeResult result = BakeSprites(work.Request(stage_));
        EXPECT_EQ(result.outcome, BakeOutcome::Written) << result.error;
        work.Reopen();
        return result;
    }

    BakeStage stage_;
    RecordedReports reports_;
};

// Whether the point (x, y) lies inside the convex polygon `corners` (in
// order, either way round), or too near an edge to tell (`unsure`).
bool Inside(const std::vector<std::array<double, 2>>& corners, double x, double y, double margin, bool& unsure)
{
    double nearest = 1e9;
    bool left = true, right = true;
    for (size_t i = 0; i < corners.size(); ++i) {
        const auto& a = corners[i];
        const auto& b = corners[(i + 1) % corners.size()];
        const double ex = b[0] - a[0], ey = b[1] - a[1];
        const double side = (ex * (y - a[1]) - ey * (x - a[0])) / std::hypot(ex, ey);
        left = left && side >= 0;
        right = right && side <= 0;
        nearest = std::min(nearest, std::fabs(side));
    }
    unsure = nearest < margin;
    return left || right;
}

// The composed preview's footprint (mask of at least half) against a
// polygon given in pixels of the largest zoom from the tile's centre.
void ExpectFootprint(const ObjectPreview& preview, int image, std::vector<std::array<double, 2>> corners,
                     double margin)
{
    const double scale = 1.0 / GameImage::FromIndex(image).Reduction();
    for (auto& c : corners)
        c = {c[0] * scale, c[1] * scale};
    int wrong = 0, checked = 0;
    for (int y = 0; y < preview.mask.Height(); ++y)
        for (int x = 0; x < preview.mask.Width(); ++x) {
            bool unsure = false;
            const bool inside =
                Inside(corners, x - preview.anchorX + 0.5, y - preview.anchorY + 0.5, margin, unsure);
            if (unsure)
                continue;
            ++checked;
            const bool drawn = preview.mask.PixelByte(x, y) >= 128;
            if (drawn != inside && ++wrong <= 5)
                ADD_FAILURE() << "image " << image << ": pixel (" << x - preview.anchorX << ", "
                              << y - preview.anchorY << ") from the tile's centre is "
                              << (drawn ? "drawn" : "not drawn");
        }
    EXPECT_EQ(wrong, 0) << "of " << checked << " pixels in image " << image;
}

// The tile's diamond: left, bottom, right and top corners.
const std::vector<std::array<double, 2>> kDiamond = {{-64, 0}, {0, 32}, {64, 0}, {0, -32}};

} // namespace

TEST_F(Bake, AFlatTileFillsTheGamesDiamondToThePixelInEveryDirectionAndZoom)
{
    stage_.AddFloorTile();
    WorkingFile work("chair.iff");
    Run(work);
    for (int image = 0; image < kGameImages; ++image) {
        const ObjectPreview preview = work.Compose(image);
        SavePicture("tile-" + std::to_string(image), preview.colour, &preview.mask);
        // No pixel centre lies on a diamond edge: there is nothing to be unsure of.
        ExpectFootprint(preview, image, kDiamond, 0.0);
    }
}

TEST_F(Bake, AUnitBoxStandsOnTheDiamondInEveryDirectionAndZoom)
{
    stage_.AddBox();
    WorkingFile work("chair.iff");
    Run(work);
    // One unit up is 90.51 · cos 30° pixels on the screen.
    const double h = GameCamera::kPixelsPerUnit * std::cos(std::numbers::pi / 6);
    const std::vector<std::array<double, 2>> box = {{-64, 0}, {0, 32}, {64, 0}, {64, -h}, {0, -32 - h}, {-64, -h}};
    for (int image = 0; image < kGameImages; ++image) {
        const ObjectPreview preview = work.Compose(image);
        SavePicture("box-" + std::to_string(image), preview.colour, &preview.mask);
        // The top's edges fall anywhere in a pixel: pixels whose centre is
        // within a quarter pixel of an edge may go either way.
        ExpectFootprint(preview, image, box, 0.25);
    }
}

namespace {

// A sprite frame with its draw group placement: the frame's left and
// bottom edges from the tile's centre.
struct PlacedFrame {
    SpriteFrame frame;
    int left = 0;
    int bottom = 0;
};

// The real rug's sprites are 'SPR2' version 1001: a header of version,
// palette id and frame count, then each frame after its own version and
// size. Frame `index` is wrapped as a one-frame version 1000 sprite, whose
// frame layout is the same, and decoded by the sprite decoder.
bool DecodeVersion1001(std::span<const uint8_t> resource, uint32_t index, SpriteFrame& frame)
{
    ByteReader r(resource);
    if (r.u32le() != 1001)
        return false;
    const uint32_t palette = r.u32le();
    const uint32_t count = r.u32le();
    for (uint32_t i = 0; r.ok() && i < count; ++i) {
        r.skip(4);
        const uint32_t size = r.u32le();
        const std::span<const uint8_t> bytes = r.bytes(size);
        if (i != index || !r.ok())
            continue;
        ByteWriter w;
        w.u32le(1000);
        w.u32le(1);
        w.u32le(palette);
        w.u32le(16);
        w.bytes(bytes);
        const std::vector<uint8_t> wrapped = w.take();
        return ReadSpriteFrameInfo(SpriteFormat::Spr2, wrapped, 0, frame.info).ok() &&
               DecodeSpriteFrame(wrapped, kSpriteAllPlanes, frame).ok();
    }
    return false;
}

// Image `image` of draw group `group` (one reference) and its frame.
bool LoadPlaced(CTGResFile& file, int16_t group, int image, PlacedFrame& placed)
{
    CTGDrawGroup dgrp;
    if (dgrp.Load(file, group) != kResOk || static_cast<size_t>(image) >= dgrp.ImageCount() ||
        dgrp.Image(static_cast<size_t>(image)).sprites.size() != 1)
        return false;
    const DrawGroupSprite& reference = dgrp.Image(static_cast<size_t>(image)).sprites.front();
    placed.left = reference.value2;
    placed.bottom = reference.value3;
    ResHandle* data = file.GetResource(kTypeSPR2, static_cast<int16_t>(reference.spriteId), nullptr);
    if (!data)
        return false;
    const std::vector<uint8_t> bytes(data->Bytes().begin(), data->Bytes().end());
    file.ReleaseResource(data);
    if (DecodeVersion1001(bytes, static_cast<uint32_t>(reference.value1), placed.frame))
        return true;
    return LoadSprite(file, static_cast<int16_t>(reference.spriteId), reference.value1, {}, placed.frame) ==
           (kSpriteLoaded | kSpriteAllPlanes);
}

} // namespace

TEST_F(Bake, AFlatTilesDepthRunsAsTheRealRugsInEveryImage)
{
    const std::filesystem::path data = TestDataDir();
    if (data.empty())
        GTEST_SKIP() << "real test files are absent";
    CTGIffFile rug;
    ASSERT_EQ(rug.OpenContainer((data / "iff" / "k8lidrug.iff").string()), kResOk);
    stage_.AddFloorTile();
    WorkingFile work("chair.iff");
    Run(work);
    const int16_t baked = work.Object().Definition().Word(objd::kFirstDrawGroup / 2);
    int compared = 0, worst = 0;
    for (int16_t group = 100; group <= 105; ++group)
        for (int image = 0; image < kGameImages; ++image) {
            PlacedFrame real, ours;
            ASSERT_TRUE(LoadPlaced(rug, group, image, real)) << "rug DGRP " << group << " image " << image;
            ASSERT_TRUE(LoadPlaced(work.File().Container(), baked, image, ours)) << "image " << image;
            const int dx = real.left - ours.left;
            const int dy = (real.bottom - real.frame.info.height) - (ours.bottom - ours.frame.info.height);
            for (int y = 0; y < real.frame.info.height; ++y)
                for (int x = 0; x < real.frame.info.width; ++x) {
                    const int ox = x + dx, oy = y + dy;
                    if (real.frame.alpha.PixelByte(x, y) != 255 || ox < 0 || oy < 0 ||
                        ox >= ours.frame.info.width || oy >= ours.frame.info.height ||
                        ours.frame.alpha.PixelByte(ox, oy) != 255)
                        continue;
                    const int difference = ours.frame.depth.PixelByte(ox, oy) - real.frame.depth.PixelByte(x, y);
                    worst = std::max(worst, std::abs(difference));
                    ++compared;
                }
        }
    EXPECT_GT(compared, 6 * 4 * (2900 + 700 + 160)); // nearly all the rug's opaque pixels
    EXPECT_LE(worst, 6);
    std::cout << compared << " pixels compared, largest difference " << worst << " levels\n";
}
