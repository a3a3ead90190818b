#include "bake/SpriteRenderer.h"
#include "tests/bake/BakeFixtures.h"
#include "tools/FurnitureModels.h"
#include "tools/FurnitureSceneObject.h"

#include <gtest/gtest.h>
#include <chrono>

using namespace zelvane;
using namespace zelvane::test;

TEST(Explore, Loveseat)
{
    BakeStage stage(StageLights::None);
    UseRasteriserLights(stage.Scene());
    ASSERT_TRUE(stage.ok()) << stage.Error();
    auto t0 = std::chrono::steady_clock::now();
    auto objects = MakeFurnitureObjects(BuildFurniture(FurnitureKind::Loveseat), 0.02f);
    size_t tris = 0;
    for (auto& o : objects) { tris += o->TriangleCount(); stage.Scene().AddObject(std::move(o)); }
    auto t1 = std::chrono::steady_clock::now();
    std::cout << "triangles " << tris << " built in " << std::chrono::duration<double>(t1 - t0).count() << " s\n";
    WorkingFile work("loveseat.iff");
    std::vector<ObjectPreview> before;
    for (int i = 0; i < 12; ++i) {
        before.push_back(work.Compose(i));
        SavePicture("loveseat-raster-" + std::to_string(i), before.back().colour, &before.back().mask);
    }
    RecordedReports reports;
    auto t2 = std::chrono::steady_clock::now();
    BakeResult result = BakeSprites(work.Request(stage));
    auto t3 = std::chrono::steady_clock::now();
    ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
    std::cout << "bake " << std::chrono::duration<double>(t3 - t2).count() << " s psnr " << result.psnr << " colours " << result.coloursUsed << "\n";
    for (auto& n : result.notes) std::cout << "note: " << n << "\n";
    work.Reopen();
    for (int i = 0; i < 12; ++i) {
        ObjectPreview p = work.Compose(i);
        SavePicture("loveseat-baked-" + std::to_string(i), p.colour, &p.mask);
        const ObjectPreview& b = before[i];
        int both = 0, either = 0, n = 0; double diff = 0;
        for (int y = -p.anchorY; y < p.mask.Height() - p.anchorY; ++y)
            for (int x = -p.anchorX; x < p.mask.Width() - p.anchorX; ++x) {
                const int bx = x + b.anchorX, by = y + b.anchorY;
                const bool inB = bx >= 0 && by >= 0 && bx < b.mask.Width() && by < b.mask.Height();
                const bool mb = inB && b.mask.PixelByte(bx, by) >= 128;
                const bool mp = p.mask.PixelByte(x + p.anchorX, y + p.anchorY) >= 128;
                both += mb && mp; either += mb || mp;
                if (inB && b.mask.PixelByte(bx, by) == 255 && p.mask.PixelByte(x + p.anchorX, y + p.anchorY) == 255) {
                    Rgb c1 = b.colour.PixelColour(bx, by), c2 = p.colour.PixelColour(x + p.anchorX, y + p.anchorY);
                    diff += std::abs(c1.red - c2.red) + std::abs(c1.green - c2.green) + std::abs(c1.blue - c2.blue); n += 3;
                }
            }
        std::cout << i << ": IoU " << double(both) / either << " mean diff " << diff / n << " anchors " << p.anchorX << "," << p.anchorY << " vs " << b.anchorX << "," << b.anchorY << " size " << p.mask.Width() << "x" << p.mask.Height() << " vs " << b.mask.Width() << "x" << b.mask.Height() << "\n";
    }
}
