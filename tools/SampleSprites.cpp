#include "tools/SampleSprites.h"

// Sections: the palette (median cut over every drawn pixel); cutting a view
// into per-tile frames; the entry point.

#include "objects/Palette.h"
#include "objects/SpriteEncoder.h"
#include "objects/SpriteFrameCut.h"
#include "objects/SpriteLayout.h"
#include "tools/SpriteRasteriser.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelvane {

namespace {

constexpr int kImages = 12;
constexpr int kDirections = 4;
constexpr int kFullSizeZoomStep = 2;
// Depth bytes: the tile's floor centre is 128, one tile unit nearer 60 less.
constexpr float kDepthMiddle = 128;
constexpr float kDepthPerUnit = 60;
constexpr uint8_t kTransparentIndex = 0;

// ---- the palette ----

// Colours are counted in bins of 6 bits a channel; each bin keeps the sum
// of its exact colours so palette entries are true means.
constexpr int kBinBits = 6;
constexpr size_t kBinCount = size_t{1} << (3 * kBinBits);

size_t BinOf(const Vec3& colour, std::array<int, 3>& rgb)
{
    for (int c = 0; c < 3; ++c) {
        const float v = c == 0 ? colour.x : c == 1 ? colour.y : colour.z;
        rgb[static_cast<size_t>(c)] = std::clamp(static_cast<int>(std::lround(v * 255)), 0, 255);
    }
    return (static_cast<size_t>(rgb[0] >> 2) << 12) | (static_cast<size_t>(rgb[1] >> 2) << 6) |
           static_cast<size_t>(rgb[2] >> 2);
}

class MedianCut {
public:
    MedianCut() : count_(kBinCount), sum_(kBinCount) {}

    void Add(const Vec3& colour)
    {
        std::array<int, 3> rgb{};
        const size_t bin = BinOf(colour, rgb);
        ++count_[bin];
        for (size_t c = 0; c < 3; ++c)
            sum_[bin][c] += static_cast<uint64_t>(rgb[c]);
    }

    // Splits the used bins into at most 256 boxes, always the box whose
    // widest channel spread times its pixel count is largest, at its
    // weighted median; each box becomes one palette entry.
    Palette Build()
    {
        std::vector<uint32_t> bins;
        for (size_t b = 0; b < kBinCount; ++b)
            if (count_[b] > 0)
                bins.push_back(static_cast<uint32_t>(b));
        struct Box {
            size_t begin, end;
            double score = 0; // 0: cannot be split
            int channel = 0;  // the widest
        };
        auto channel = [](uint32_t bin, int c) { return static_cast<int>((bin >> (12 - 6 * c)) & 63); };
        auto measure = [&](size_t begin, size_t end) {
            Box box{begin, end};
            int lo[3] = {63, 63, 63}, hi[3] = {0, 0, 0};
            uint64_t population = 0;
            for (size_t i = begin; i < end; ++i) {
                population += count_[bins[i]];
                for (int c = 0; c < 3; ++c) {
                    lo[c] = std::min(lo[c], channel(bins[i], c));
                    hi[c] = std::max(hi[c], channel(bins[i], c));
                }
            }
            for (int c = 0; c < 3; ++c)
                if (hi[c] - lo[c] > hi[box.channel] - lo[box.channel])
                    box.channel = c;
            if (end - begin >= 2)
                box.score = static_cast<double>(hi[box.channel] - lo[box.channel]) * static_cast<double>(population);
            return box;
        };
        std::vector<Box> boxes;
        if (!bins.empty())
            boxes.push_back(measure(0, bins.size()));
        while (boxes.size() < Palette::kSize) {
            const auto chosen = std::max_element(boxes.begin(), boxes.end(),
                                                 [](const Box& a, const Box& b) { return a.score < b.score; });
            if (chosen == boxes.end() || chosen->score <= 0)
                break;
            const Box box = *chosen;
            const auto first = bins.begin() + static_cast<ptrdiff_t>(box.begin);
            const auto last = bins.begin() + static_cast<ptrdiff_t>(box.end);
            std::sort(first, last,
                      [&](uint32_t a, uint32_t b) { return channel(a, box.channel) < channel(b, box.channel); });
            uint64_t total = 0;
            for (size_t i = box.begin; i < box.end; ++i)
                total += count_[bins[i]];
            uint64_t running = 0;
            size_t split = box.begin + 1;
            for (size_t i = box.begin; i + 1 < box.end; ++i) {
                running += count_[bins[i]];
                split = i + 1;
                if (2 * running >= total)
                    break;
            }
            *chosen = measure(box.begin, split);
            boxes.push_back(measure(split, box.end));
        }
        Palette palette;
        indexOf_.assign(kBinCount, kTransparentIndex);
        for (size_t k = 0; k < boxes.size(); ++k) {
            uint64_t n = 0;
            std::array<uint64_t, 3> sum{};
            for (size_t i = boxes[k].begin; i < boxes[k].end; ++i) {
                n += count_[bins[i]];
                for (size_t c = 0; c < 3; ++c)
                    sum[c] += sum_[bins[i]][c];
                indexOf_[bins[i]] = static_cast<uint8_t>(k);
            }
            palette[k] = {static_cast<uint8_t>((sum[0] + n / 2) / n), static_cast<uint8_t>((sum[1] + n / 2) / n),
                          static_cast<uint8_t>((sum[2] + n / 2) / n)};
        }
        return palette;
    }

    uint8_t IndexOf(const Vec3& colour) const
    {
        std::array<int, 3> rgb{};
        return indexOf_[BinOf(colour, rgb)];
    }

private:
    std::vector<uint32_t> count_;
    std::vector<std::array<uint64_t, 3>> sum_;
    std::vector<uint8_t> indexOf_;
};

// ---- cutting a view into frames ----

uint8_t AlphaByte(float alpha)
{
    // Nearly opaque edges are stored opaque: two bytes a pixel instead of three.
    return alpha >= 0.985f ? kOpaqueAlpha : static_cast<uint8_t>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255));
}

// SPR2 keeps alpha ÷ 8: pixels fainter than that would be stored as alpha 0.
bool Shows(const RenderedPixel& p)
{
    return AlphaByte(p.alpha) >= (1 << spr2_layout::kAlphaShift);
}

struct FrameCut {
    SpriteFrame frame;
    bool empty = true;
    int left = 0; // the frame's left and bottom edges in pixels from the tile's centre
    int bottom = 0;
};

FrameCut CutFrame(const RenderedView& view, const MedianCut& colours, int tileX, int tileY, int direction,
                  int zoomShift, int16_t paletteId)
{
    const float tileDepth =
        SpriteRasteriser::Depth(direction, {static_cast<float>(tileX), static_cast<float>(tileY), 0});
    SpriteFrameCut frameCut = CutSpriteFrame(
        view.width, view.height, kTransparentIndex,
        [&](int x, int y) {
            const RenderedPixel& p = view.At(x, y);
            return p.tileX == tileX && p.tileY == tileY && Shows(p);
        },
        [&](int x, int y, uint8_t& colour, uint8_t& depth, uint8_t& alpha) {
            const RenderedPixel& p = view.At(x, y);
            colour = colours.IndexOf(p.colour);
            depth = static_cast<uint8_t>(
                std::clamp(std::lround(kDepthMiddle + (p.depth - tileDepth) * kDepthPerUnit), 0L, 254L));
            alpha = AlphaByte(p.alpha);
        });
    const int anchorX = SpriteRasteriser::TileLeft(direction, zoomShift, tileX, tileY);
    const int anchorY = SpriteRasteriser::TileTop(direction, zoomShift, tileX, tileY);
    FrameCut cut;
    cut.empty = frameCut.empty;
    cut.frame = std::move(frameCut.frame);
    cut.left = view.left + frameCut.x0 - anchorX;
    cut.bottom = view.top + frameCut.y1 + 1 - anchorY;
    PlaceInTileCanvas(cut.frame.info, cut.left, cut.bottom, cut.frame.colour.Height(), zoomShift);
    cut.frame.info.paletteId = paletteId;
    return cut;
}

} // namespace

// ---- entry point ----

SampleGraphics DrawSampleGraphics(FurnitureKind kind, int tilesX, int tilesY, int16_t firstSpriteId, int16_t paletteId)
{
    const FurnitureMesh mesh = BuildFurniture(kind);
    const SpriteRasteriser rasteriser(tilesX, tilesY);
    // Full size is drawn; the two smaller zooms are reduced from it.
    std::vector<RenderedView> views(kImages);
    for (int direction = 0; direction < kDirections; ++direction) {
        ViewSetup setup;
        setup.direction = direction;
        setup.zoomShift = 0;
        setup.samples = 3;
        const RenderedView full = rasteriser.Render(mesh, setup);
        for (int zoomShift = 0; zoomShift <= kFullSizeZoomStep; ++zoomShift)
            views[static_cast<size_t>((kFullSizeZoomStep - zoomShift) * kDirections + direction)] =
                zoomShift == 0 ? full : rasteriser.Reduced(full, 1 << zoomShift);
    }
    MedianCut colours;
    for (const RenderedView& view : views)
        for (const RenderedPixel& p : view.pixels)
            if (Shows(p))
                colours.Add(p.colour);

    SampleGraphics graphics;
    graphics.palette = colours.Build().Encode();
    for (int tx = 0; tx < tilesX; ++tx)
        for (int ty = 0; ty < tilesY; ++ty) {
            const int32_t spriteId = firstSpriteId + tx * tilesY + ty;
            SampleTileGraphics tile;
            std::vector<SpriteFrame> frames;
            for (int image = 0; image < kImages; ++image) {
                const int direction = image % kDirections;
                const int zoomShift = kFullSizeZoomStep - image / kDirections;
                FrameCut cut =
                    CutFrame(views[static_cast<size_t>(image)], colours, tx, ty, direction, zoomShift, paletteId);
                DrawGroupImage drawn;
                drawn.direction = 1 << (2 * direction); // 1, 4, 16, 64
                drawn.zoom = kFullSizeZoomStep - zoomShift + 1;
                if (!cut.empty) {
                    DrawGroupSprite reference;
                    reference.spriteId = spriteId;
                    reference.value1 = image;
                    reference.value2 = cut.left;
                    reference.value3 = cut.bottom;
                    drawn.sprites.push_back(reference);
                }
                tile.images.push_back(std::move(drawn));
                frames.push_back(std::move(cut.frame));
            }
            const EncodedSprite encoded = EncodeSpr2(frames, paletteId);
            if (!encoded.ok()) {
                graphics.error = "sprite " + std::to_string(spriteId) + ": " + encoded.error;
                return graphics;
            }
            tile.sprite = encoded.bytes;
            graphics.tiles.push_back(std::move(tile));
        }
    return graphics;
}

} // namespace zelvane
