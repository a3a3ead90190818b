// The sample game's furniture, drawn today by the software rasteriser, built
// in the scene from the same models and baked: the silhouettes agree with
// the rasteriser's sprites and the palette keeps the render's colours at
// 35 dB or better.

#include "tests/bake/BakeFixtures.h"
#include "tools/FurnitureModels.h"
#include "tools/FurnitureSceneObject.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zelvane;
using namespace zelvane::test;

namespace {

struct Piece {
    const char* file;
    FurnitureKind kind;
};

struct Agreement {
    double overlap = 0;    // pixels opaque in both pictures ÷ pixels opaque in either
    double difference = 0; // mean difference of a colour channel where both are opaque
};

// The two previews laid on each other by their anchors. Opaque: a mask of
// half or more (the rasteriser's floor shadow stays below that).
Agreement Compare(const ObjectPreview& a, const ObjectPreview& b)
{
    int both = 0, either = 0, channels = 0;
    double difference = 0;
    for (int y = -a.anchorY; y < a.mask.Height() - a.anchorY; ++y)
        for (int x = -a.anchorX; x < a.mask.Width() - a.anchorX; ++x) {
            const int bx = x + b.anchorX, by = y + b.anchorY;
            const bool inB = bx >= 0 && by >= 0 && bx < b.mask.Width() && by < b.mask.Height();
            const uint8_t ma = a.mask.PixelByte(x + a.anchorX, y + a.anchorY);
            const uint8_t mb = inB ? b.mask.PixelByte(bx, by) : 0;
            both += ma >= 128 && mb >= 128;
            either += ma >= 128 || mb >= 128;
            if (ma == 255 && mb == 255) {
                const Rgb ca = a.colour.PixelColour(x + a.anchorX, y + a.anchorY), cb = b.colour.PixelColour(bx, by);
                difference += std::abs(ca.red - cb.red) + std::abs(ca.green - cb.green) + std::abs(ca.blue - cb.blue);
                channels += 3;
            }
        }
    // Pixels the second picture has beyond the first's are in `either` too.
    for (int y = 0; y < b.mask.Height(); ++y)
        for (int x = 0; x < b.mask.Width(); ++x) {
            const int ax = x - b.anchorX + a.anchorX, ay = y - b.anchorY + a.anchorY;
            const bool inA = ax >= 0 && ay >= 0 && ax < a.mask.Width() && ay < a.mask.Height();
            either += !inA && b.mask.PixelByte(x, y) >= 128;
        }
    return {either ? static_cast<double>(both) / either : 1.0, channels ? difference / channels : 0.0};
}

class FurnitureBake : public testing::TestWithParam<Piece> {};

} // namespace

TEST_P(FurnitureBake, MatchesTheRasterisersSpritesAndKeepsItsColours)
{
    const Piece piece = GetParam();
    BakeStage stage(StageLights::None);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    for (auto& object : MakeFurnitureObjects(BuildFurniture(piece.kind), 0.03f))
        stage.Scene().AddObject(std::move(object));
    WorkingFile work(piece.file);
    std::vector<ObjectPreview> rasterised;
    for (int image = 0; image < kGameImages; ++image)
        rasterised.push_back(work.Compose(image));

    RecordedReports reports;
    const BakeResult result = BakeSprites(work.Request(stage));
    ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
    EXPECT_GE(result.psnr, 35.0);
    work.Reopen();
    const std::string name = std::filesystem::path(piece.file).stem().string();
    std::cout << name << ": palette of " << result.coloursUsed << " colours at " << result.psnr << " dB\n";
    for (int image = 0; image < kGameImages; ++image) {
        const ObjectPreview baked = work.Compose(image);
        SavePicture(name + "-rasteriser-" + std::to_string(image), rasterised[image].colour, &rasterised[image].mask);
        SavePicture(name + "-baked-" + std::to_string(image), baked.colour, &baked.mask);
        const Agreement agreement = Compare(baked, rasterised[static_cast<size_t>(image)]);
        // A lamp's pole is two or three pixels wide: its edge pixels, half
        // covered, go either way and weigh much; the smallest zoom's more so.
        EXPECT_GE(agreement.overlap, GameImage::FromIndex(image).zoomShift == kSmallestZoomShift ? 0.9 : 0.92)
            << name << " image " << image;
        std::cout << "  image " << image << ": silhouettes overlap " << agreement.overlap
                  << ", colours differ by " << agreement.difference << " levels on average\n";
    }
}

INSTANTIATE_TEST_SUITE_P(SamplePieces, FurnitureBake,
                         testing::Values(Piece{"loveseat.iff", FurnitureKind::Loveseat},
                                         Piece{"chair.iff", FurnitureKind::DiningChair},
                                         Piece{"lamp.iff", FurnitureKind::ReadingLamp},
                                         Piece{"aquarium.iff", FurnitureKind::Aquarium}),
                         [](const testing::TestParamInfo<Piece>& tested) {
                             return std::filesystem::path(tested.param.file).stem().string();
                         });
