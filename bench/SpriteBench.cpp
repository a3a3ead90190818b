// sprite_bench: how fast sprites decode and previews compose.
//
// 1. decode: a corpus of 'SPR2' resources (at least --corpus-mb MiB, 64 by
//    default) made with the encoder from varied synthetic pictures: shaded
//    shapes with soft see-through edges, glassy parts, empty rows and gaps,
//    frames of 16 to 300 pixels a side, 1 to 12 frames a sprite. Every frame
//    is located and decoded into its three planes, on one thread; the result
//    is megabytes of sprite data per second (and frames, pixels per second),
//    the median of --repeat runs after one untimed warm-up. CountColours over
//    the same corpus is measured the same way.
// 2. preview: a 4-tile object whose image 10 holds 3 sprites per tile (each
//    frame about 128 × 110 pixels), in an IFF file on disk opened as the
//    editor opens one; ComposeObjectPreview of image 10, timed over many
//    runs: the median time per preview.
//
// Usage: sprite_bench [--corpus-mb N] [--repeat N]

#include "objects/ObjectDefinition.h"
#include "objects/ObjectPreview.h"
#include "objects/Palette.h"
#include "objects/SpriteDecoder.h"
#include "objects/SpriteEncoder.h"
#include "objects/SpriteLayout.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/IffBuilder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// xorshift32, so every run measures the same corpus.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed) {}
    uint32_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int Range(int low, int high) { return low + static_cast<int>(Next() % static_cast<uint32_t>(high - low + 1)); }

private:
    uint32_t state_;
};

// ---- synthetic pictures ----

// A frame of shaded ellipses and boxes: colour ramps that follow the
// shading, depth that grows down the shape, one-pixel soft edges, some
// shapes half see-through, the rest transparent.
SpriteFrame SyntheticFrame(Random& random, int width, int height)
{
    SpriteFrame f;
    f.transparentIndex = 0;
    f.info.paletteId = -1;
    f.info.originX = width / 2;
    f.info.originY = height - 8;
    f.colour = PlainImage(width, height, 1, 0);
    f.depth = PlainImage(width, height, 1, kEmptyDepth);
    f.alpha = PlainImage(width, height, 1, kEmptyAlpha);
    const int shapes = random.Range(1, 6);
    for (int s = 0; s < shapes; ++s) {
        const float cx = static_cast<float>(random.Range(0, width - 1));
        const float cy = static_cast<float>(random.Range(0, height - 1));
        const float rx = static_cast<float>(random.Range(4, std::max(5, width / 2)));
        const float ry = static_cast<float>(random.Range(4, std::max(5, height / 2)));
        const bool box = random.Next() % 2 == 0;
        const bool glass = random.Next() % 5 == 0;
        const int ramp = random.Range(0, 7) * 32;
        const int depth = random.Range(20, 180);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const float dx = (static_cast<float>(x) - cx) / rx, dy = (static_cast<float>(y) - cy) / ry;
                const float d = box ? std::max(std::fabs(dx), std::fabs(dy)) : std::sqrt(dx * dx + dy * dy);
                if (d > 1)
                    continue;
                const auto i = static_cast<size_t>(x);
                const float edge = (1 - d) * std::min(rx, ry); // pixels from the edge
                const int shade = std::clamp(static_cast<int>(16 + 12 * dx - 10 * dy), 1, 31);
                f.colour.Row(y)[i] = static_cast<uint8_t>(ramp + shade);
                f.depth.Row(y)[i] = static_cast<uint8_t>(std::clamp(depth + static_cast<int>(20 * dy), 0, 254));
                uint8_t a = edge < 1 ? static_cast<uint8_t>(8 + 240 * edge) : kOpaqueAlpha;
                if (glass)
                    a = static_cast<uint8_t>(std::min<int>(a, 120));
                f.alpha.Row(y)[i] = std::max(f.alpha.Row(y)[i], a);
            }
    }
    return f;
}

struct Corpus {
    std::vector<std::vector<uint8_t>> sprites;
    size_t bytes = 0;
    size_t frames = 0;
    uint64_t pixels = 0;
};

Corpus MakeCorpus(size_t targetBytes)
{
    Corpus corpus;
    Random random(20240601);
    while (corpus.bytes < targetBytes) {
        std::vector<SpriteFrame> frames;
        const int count = random.Range(1, 12);
        for (int i = 0; i < count; ++i) {
            const int width = random.Range(16, 300), height = random.Range(16, 300);
            frames.push_back(SyntheticFrame(random, width, height));
            corpus.pixels += static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
        }
        EncodedSprite encoded = EncodeSpr2(frames, 1);
        if (!encoded.ok()) {
            std::fprintf(stderr, "sprite_bench: %s\n", encoded.error.c_str());
            std::exit(1);
        }
        corpus.bytes += encoded.bytes.size();
        corpus.frames += frames.size();
        corpus.sprites.push_back(std::move(encoded.bytes));
    }
    return corpus;
}

// ---- 1. decoding ----

// Decodes (or counts) every frame; returns the seconds taken and checks
// that nothing failed, so a broken decoder cannot look fast.
double DecodeAll(const Corpus& corpus, bool countOnly)
{
    const Clock::time_point start = Clock::now();
    size_t decoded = 0;
    ColourCounts counts{};
    for (const std::vector<uint8_t>& sprite : corpus.sprites) {
        SpriteFrameInfo first;
        if (!ReadSpriteFrameInfo(SpriteFormat::Spr2, sprite, 0, first).ok())
            break;
        for (uint32_t i = 0; i < first.frameCount; ++i) {
            SpriteFrame frame;
            if (!ReadSpriteFrameInfo(SpriteFormat::Spr2, sprite, static_cast<int32_t>(i), frame.info).ok())
                break;
            const SpriteStatus status = countOnly ? CountColours(sprite, frame.info, counts)
                                                  : DecodeSpriteFrame(sprite, kSpriteAllPlanes, frame);
            decoded += status.ok();
        }
    }
    const double seconds = Seconds(start);
    if (decoded != corpus.frames) {
        std::fprintf(stderr, "sprite_bench: %zu of %zu frames decoded\n", decoded, corpus.frames);
        std::exit(1);
    }
    return seconds;
}

// ---- 2. composing a preview ----

constexpr int kTiles = 4;
constexpr int kSpritesPerTile = 3;

std::vector<uint8_t> Record(int16_t drawGroup, int16_t place)
{
    ObjectDefinition r;
    r.SetWord(3, drawGroup);
    r.SetWord(4, drawGroup ? 1 : 0);
    r.SetWord(10, 1);
    r.SetWord(11, place);
    return r.StoredBytes();
}

std::vector<uint8_t> FourTileObject()
{
    Random random(7);
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 128, "Bench table", Record(0, -1));
    Palette palette;
    for (size_t i = 0; i < Palette::kSize; ++i)
        palette[i] = {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i * 3), static_cast<uint8_t>(255 - i)};
    b.AddChunk(kTypePALT, 1, "", palette.Encode(), 0);
    for (int t = 0; t < kTiles; ++t) {
        const auto group = static_cast<int16_t>(100 + t);
        b.AddChunk(kTypeOBJD, static_cast<int16_t>(129 + t), "tile",
                   Record(group, static_cast<int16_t>(((t & 1) << 8) | (t >> 1))));
        std::vector<DrawGroupImage> images(12);
        for (int s = 0; s < kSpritesPerTile; ++s) {
            const int id = 200 + t * kSpritesPerTile + s;
            images[10].sprites.push_back({id, 0, -64 + 6 * s, 32 - 4 * s, 0, 0, 0, s == 2 ? 1 : 0});
            const std::vector<SpriteFrame> frames = {SyntheticFrame(random, 128, 110)};
            b.AddChunk(kTypeSPR2, static_cast<int16_t>(id), "sprite", EncodeSpr2(frames, 1).bytes, 0);
        }
        CTGDrawGroup dgrp;
        dgrp.Set("tile", 20004, std::move(images));
        b.AddChunk(kTypeDGRP, group, "tile", dgrp.Encode());
    }
    return b.Build(IffBuilder::Map::Written);
}

} // namespace

int main(int argc, char** argv)
{
    int repeat = 5;
    size_t corpusMb = 64;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--corpus-mb") == 0)
            corpusMb = static_cast<size_t>(std::max(1, std::atoi(argv[i + 1])));
    }

    const Clock::time_point made = Clock::now();
    const Corpus corpus = MakeCorpus(corpusMb * 1024 * 1024);
    const double mib = static_cast<double>(corpus.bytes) / (1024.0 * 1024.0);
    std::printf("corpus:          %zu SPR2 resources, %zu frames, %.1f MiB, %.1f Mpixels (made in %.1f s)\n",
                corpus.sprites.size(), corpus.frames, mib, static_cast<double>(corpus.pixels) / 1e6, Seconds(made));
    for (const bool countOnly : {false, true}) {
        DecodeAll(corpus, countOnly); // warm-up
        std::vector<double> times;
        for (int run = 0; run < repeat; ++run)
            times.push_back(DecodeAll(corpus, countOnly));
        const double median = Median(times);
        std::printf("%s %.0f MiB/s, %.0f frames/s, %.0f Mpixels/s (median of %d, %.3f s a pass)\n",
                    countOnly ? "CountColours:   " : "decode 3 planes:", mib / median,
                    static_cast<double>(corpus.frames) / median, static_cast<double>(corpus.pixels) / 1e6 / median,
                    repeat, median);
    }

    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zelvane-sprite-bench";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "benchtable.iff").string();
    {
        const std::vector<uint8_t> bytes = FourTileObject();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    CTGObjResFileSet file;
    if (file.OpenContainer(path) != kResOk) {
        std::fprintf(stderr, "sprite_bench: cannot open %s\n", path.c_str());
        return 1;
    }
    std::vector<PreviewTile> tiles;
    for (int t = 0; t < kTiles; ++t) {
        PreviewTile tile;
        tile.firstDrawGroup = static_cast<int16_t>(100 + t);
        tile.drawGroupCount = 1;
        tile.x = t & 1;
        tile.y = t >> 1;
        tiles.push_back(tile);
    }
    const ObjectPreview check = ComposeObjectPreview(file, tiles);
    if (!check.notes.empty()) {
        std::fprintf(stderr, "sprite_bench: %s\n", check.notes[0].c_str());
        return 1;
    }
    constexpr int kPreviewsPerBatch = 200;
    std::vector<double> perPreview;
    for (int run = 0; run < repeat; ++run) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < kPreviewsPerBatch; ++i)
            ComposeObjectPreview(file, tiles);
        perPreview.push_back(Seconds(start) / kPreviewsPerBatch);
    }
    std::printf("preview:         %d tiles x %d sprites of 128 x 110, %d x %d pixels: %.3f ms each "
                "(median of %d batches of %d)\n",
                kTiles, kSpritesPerTile, check.colour.Width(), check.colour.Height(), Median(perPreview) * 1e3, repeat,
                kPreviewsPerBatch);
    static_cast<void>(file.CloseContainer()); // nothing was changed
    std::filesystem::remove_all(dir);
    return 0;
}
