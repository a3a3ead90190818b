// Every sprite frame of the real object files (SPR2 versions 1000 and 1001)
// decodes, its colours count, and it encodes back to the same planes.

#include "objects/SpriteDecoder.h"
#include "objects/SpriteEncoder.h"
#include "resfile/CTGIffFile.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <numeric>

using namespace zelvane;

TEST(SpriteRealFiles, EveryFrameDecodesCountsAndRoundTrips)
{
    const std::filesystem::path dir = test::TestDataDir();
    if (dir.empty())
        GTEST_SKIP() << "real test files are absent";
    int frames = 0;
    std::map<uint32_t, int> framesOfVersion;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "iff")) {
        CTGIffFile file;
        ASSERT_EQ(file.OpenContainer(entry.path().string()), kResOk) << entry.path();
        for (int i = 1; i <= file.CountResources(kTypeSPR2); ++i) {
            int16_t id = 0;
            file.GetResId(file.GetIndResource(kTypeSPR2, i, nullptr), id);
            std::vector<SpriteFrame> decoded;
            for (SpriteFrame f; decoded.empty() || f.info.frameIndex + 1 < f.info.frameCount;) {
                ColourCounts counts{};
                SpriteRequest request;
                request.counts = &counts;
                ASSERT_EQ(LoadSprite(file, id, static_cast<int32_t>(decoded.size()), request, f), 15u)
                    << entry.path().filename() << " SPR2 " << id << ": " << f.status.message;
                ASSERT_TRUE(f.info.version == 1000u || f.info.version == 1001u) << f.info.version;
                // The rug is the one file whose sprites are all version 1001.
                EXPECT_EQ(f.info.version == 1001u, entry.path().filename() == "k8lidrug.iff");
                ++framesOfVersion[f.info.version];
                uint32_t drawn = 0;
                for (int y = 0; y < f.info.height; ++y)
                    for (int x = 0; x < f.info.width; ++x)
                        drawn += f.depth.PixelByte(x, y) != 0xFF || f.alpha.PixelByte(x, y) != 0;
                EXPECT_GT(drawn, 0u);
                EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0u), drawn);
                decoded.push_back(f);
            }
            const EncodedSprite again = EncodeSpr2(decoded, 0);
            ASSERT_TRUE(again.ok()) << again.error;
            for (SpriteFrame& original : decoded) {
                SpriteFrame copy;
                ASSERT_TRUE(ReadSpriteFrameInfo(SpriteFormat::Spr2, again.bytes,
                                                static_cast<int32_t>(original.info.frameIndex), copy.info)
                                .ok());
                copy.transparentIndex = original.transparentIndex;
                ASSERT_TRUE(DecodeSpriteFrame(again.bytes, kSpriteAllPlanes, copy).ok());
                EXPECT_TRUE(std::ranges::equal(copy.colour.Bits(), original.colour.Bits()) &&
                            std::ranges::equal(copy.depth.Bits(), original.depth.Bits()) &&
                            std::ranges::equal(copy.alpha.Bits(), original.alpha.Bits()))
                    << "SPR2 " << id << " frame " << original.info.frameIndex;
            }
            frames += static_cast<int>(decoded.size());
        }
    }
    EXPECT_EQ(frames, 102);
    EXPECT_EQ(framesOfVersion[1000], 30); // 6 + 6 + 6 + 12 in three object files
    EXPECT_EQ(framesOfVersion[1001], 72); // the rug's six sprites of 12 frames
}
