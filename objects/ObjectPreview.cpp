#include "objects/ObjectPreview.h"

// Sections: gathering and placing the frames (first pass); drawing them
// (second pass); the entry point. Tiles are placed by objects/TilePlacement.h.

#include "objects/SpriteDecoder.h"
#include "objects/SpriteLayout.h"
#include "objects/TilePlacement.h"
#include "resfile/CTGDrawGroup.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zelvane {

namespace {

constexpr int kImageIndexCount = 12;
constexpr int kFullSizeZoomStep = 2;
constexpr int kMargin = 8;
constexpr int kTileDepthBias = 0x1000;
constexpr uint16_t kFarthest = 0xFFFF;
constexpr uint32_t kMirrored = 1; // sprite reference flag bit 0

bool FitsInt16(int64_t value)
{
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

// ---- first pass: frames and where they go ----

struct PlacedFrame {
    SpriteFrame frame;
    int64_t left = 0;
    int64_t top = 0;
    bool mirrored = false;
};

struct TileFrames {
    int depth = 0;
    uint8_t opacity = 255;
    std::vector<PlacedFrame> frames;
};

struct Bounds {
    int64_t left = std::numeric_limits<int64_t>::max();
    int64_t top = std::numeric_limits<int64_t>::max();
    int64_t right = std::numeric_limits<int64_t>::min();
    int64_t bottom = std::numeric_limits<int64_t>::min();

    bool Empty() const { return right < left; }
    void Add(int64_t l, int64_t t, int64_t r, int64_t b)
    {
        left = std::min(left, l);
        top = std::min(top, t);
        right = std::max(right, r);
        bottom = std::max(bottom, b);
    }
};

bool InsidePlacementLimit(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    return left >= -kPreviewPlacementLimit && top >= -kPreviewPlacementLimit && right <= kPreviewPlacementLimit &&
           bottom <= kPreviewPlacementLimit;
}

bool IsLeftOut(const PreviewTile& tile, int32_t spriteId)
{
    return tile.leftOutSpriteCount > 0 && spriteId >= tile.firstLeftOutSprite &&
           spriteId <= int32_t{tile.firstLeftOutSprite} + tile.leftOutSpriteCount - 1;
}

// Loads the tile's frames of image `imageIndex` and grows `bounds` by each.
// Returns false when the tile draws nothing at all.
bool GatherTile(CTGResFile& file, const PreviewTile& tile, int imageIndex, const TilePlacement& c, Rgb background,
                TileFrames& out, Bounds& bounds, std::vector<std::string>& notes, int64_t& pixelBudget)
{
    if (tile.graphicIndex < 0 || tile.graphicIndex >= tile.drawGroupCount)
        return false;
    const int64_t groupId = int64_t{tile.firstDrawGroup} + tile.graphicIndex;
    if (!FitsInt16(groupId)) {
        notes.push_back("draw group id " + std::to_string(groupId) + " is out of range");
        return false;
    }
    CTGDrawGroup group;
    if (const int32_t error = group.Load(file, static_cast<int16_t>(groupId)); error != kResOk) {
        notes.push_back("DGRP " + std::to_string(groupId) + ": error " + std::to_string(error));
        return false;
    }
    if (static_cast<size_t>(imageIndex) >= group.ImageCount())
        return false;

    // Far beyond what a 16-bit depth buffer can tell apart, but no overflow.
    constexpr int64_t kDepthLimit = int64_t{1} << 20;
    out.depth = static_cast<int>(
        std::clamp(int64_t{c.depthX} * tile.x + int64_t{c.depthY} * tile.y, -kDepthLimit, kDepthLimit));
    out.opacity = tile.opacity;
    const int64_t anchorLeft = int64_t{c.leftX} * tile.x + int64_t{c.leftY} * tile.y;
    const int64_t anchorBottom =
        int64_t{c.bottomX} * tile.x + int64_t{c.bottomY} * tile.y + int64_t{c.bottomLevel} * tile.level;
    SpriteRequest request;
    request.keyColour = background;
    for (const DrawGroupSprite& ref : group.Image(static_cast<size_t>(imageIndex)).sprites) {
        if (IsLeftOut(tile, ref.spriteId))
            continue;
        PlacedFrame placed;
        if (!FitsInt16(ref.spriteId)) {
            notes.push_back("DGRP " + std::to_string(groupId) + ": sprite id " + std::to_string(ref.spriteId) +
                            " is out of range");
            continue;
        }
        LoadSprite(file, static_cast<int16_t>(ref.spriteId), ref.value1, request, placed.frame);
        const SpriteFrame& frame = placed.frame;
        if (!frame.status.ok())
            notes.push_back("DGRP " + std::to_string(groupId) + ": " + frame.status.message);
        const bool hasPlanes = !frame.colour.IsNull();
        const int width = frame.info.width;
        const int height = frame.info.height;
        if (hasPlanes) {
            const int64_t pixels = int64_t{width} * height;
            if (pixels > pixelBudget) {
                notes.push_back("DGRP " + std::to_string(groupId) + ": sprite " + std::to_string(ref.spriteId) +
                                " left out: the preview holds too many sprite pixels already");
                continue;
            }
            pixelBudget -= pixels;
        }
        if (!hasPlanes && (width < 2 || height < 2))
            continue;
        placed.left = ref.value2 + anchorLeft;
        const int64_t bottom = ref.value3 + anchorBottom;
        placed.top = bottom - height;
        if (!InsidePlacementLimit(placed.left, placed.top, placed.left + width, bottom)) {
            notes.push_back("DGRP " + std::to_string(groupId) + ": sprite " + std::to_string(ref.spriteId) +
                            " placed too far out, left out");
            continue;
        }
        bounds.Add(placed.left, placed.top, placed.left + width, bottom);
        placed.mirrored = (static_cast<uint32_t>(ref.flags) & kMirrored) != 0;
        if (hasPlanes)
            out.frames.push_back(std::move(placed));
    }
    return true;
}

// ---- second pass: drawing ----

class Canvas {
public:
    Canvas(int64_t left, int64_t top, int width, int height, Rgb background)
        : left_(left), top_(top), colour_(width, height, 3), mask_(width, height, 1, 0),
          depth_(static_cast<size_t>(width) * static_cast<size_t>(height), kFarthest)
    {
        for (int y = 0; y < height; ++y) {
            std::span<uint8_t> row = colour_.Row(y);
            for (size_t i = 0; i < row.size(); i += 3) {
                row[i] = background.blue;
                row[i + 1] = background.green;
                row[i + 2] = background.red;
            }
        }
        mask_.SetPalette(Palette::Grey());
    }

    void Draw(const PlacedFrame& placed, int tileDepth, uint8_t opacity)
    {
        const SpriteFrame& frame = placed.frame;
        const int width = frame.colour.Width();
        const int height = frame.colour.Height();
        const Palette& palette = frame.colour.GetPalette() ? *frame.colour.GetPalette() : *Palette::Default();
        // The frame's rows and columns that land inside the canvas.
        const int64_t x0 = placed.left - left_;
        const int64_t y0 = placed.top - top_;
        const int firstX = static_cast<int>(std::clamp<int64_t>(-x0, 0, width));
        const int endX = static_cast<int>(std::clamp<int64_t>(colour_.Width() - x0, 0, width));
        const int firstY = static_cast<int>(std::clamp<int64_t>(-y0, 0, height));
        const int endY = static_cast<int>(std::clamp<int64_t>(colour_.Height() - y0, 0, height));
        for (int fy = firstY; fy < endY; ++fy) {
            const auto y = static_cast<int>(y0 + fy);
            const std::span<const uint8_t> colours = frame.colour.Row(fy);
            const std::span<const uint8_t> depths = frame.depth.Row(fy);
            const std::span<const uint8_t> alphas = frame.alpha.Row(fy);
            std::span<uint8_t> out = colour_.Row(y);
            std::span<uint8_t> mask = mask_.Row(y);
            const std::span<uint16_t> depth =
                std::span<uint16_t>(depth_).subspan(static_cast<size_t>(y) * colour_.Width(), colour_.Width());
            for (int fx = firstX; fx < endX; ++fx) {
                const auto source = static_cast<size_t>(placed.mirrored ? width - 1 - fx : fx);
                const auto x = static_cast<size_t>(x0 + fx);
                const uint8_t pixelDepth = depths[source];
                if (pixelDepth == kEmptyDepth)
                    continue;
                const int value = pixelDepth + kTileDepthBias + tileDepth;
                if (value > depth[x])
                    continue;
                depth[x] = static_cast<uint16_t>(std::clamp(value, 0, int{kFarthest}));
                int a = alphas[source];
                if (opacity < 255)
                    a = a * opacity / 255;
                const Rgb c = palette[colours[source]];
                const std::span<uint8_t> pixel = out.subspan(3 * x, 3);
                if (a == 255) {
                    pixel[0] = c.blue;
                    pixel[1] = c.green;
                    pixel[2] = c.red;
                    mask[x] = 255;
                } else if (a > 0) {
                    pixel[0] = static_cast<uint8_t>(((255 - a) * pixel[0] + a * c.blue) / 255);
                    pixel[1] = static_cast<uint8_t>(((255 - a) * pixel[1] + a * c.green) / 255);
                    pixel[2] = static_cast<uint8_t>(((255 - a) * pixel[2] + a * c.red) / 255);
                    mask[x] = std::max(mask[x], static_cast<uint8_t>(a));
                } else {
                    mask[x] = 0;
                }
            }
        }
    }

    PlainImage TakeColour() { return std::move(colour_); }
    PlainImage TakeMask() { return std::move(mask_); }

private:
    int64_t left_;
    int64_t top_;
    PlainImage colour_;
    PlainImage mask_;
    std::vector<uint16_t> depth_;
};

} // namespace

// ---- entry point ----

ObjectPreview ComposeObjectPreview(CTGResFile& file, std::span<const PreviewTile> tiles, int imageIndex,
                                   Rgb background, int64_t pixelBudget)
{
    ObjectPreview preview;
    if (imageIndex < 0 || imageIndex >= kImageIndexCount) {
        preview.notes.push_back("image index " + std::to_string(imageIndex) + " is not 0 to 11");
        return preview;
    }
    const TilePlacement c =
        TilePlacementOf(imageIndex % kViewDirections).Shifted(kFullSizeZoomStep - imageIndex / kViewDirections);

    std::vector<TileFrames> work;
    Bounds bounds;
    for (const PreviewTile& tile : tiles) {
        TileFrames tileFrames;
        if (GatherTile(file, tile, imageIndex, c, background, tileFrames, bounds, preview.notes, pixelBudget))
            work.push_back(std::move(tileFrames));
    }
    if (bounds.Empty())
        bounds = {0, 0, 1, 1};
    bounds.Add(bounds.left - kMargin, bounds.top - kMargin, bounds.right + kMargin, bounds.bottom + kMargin);

    // Farthest tile first; tiles at the same depth keep their order.
    std::stable_sort(work.begin(), work.end(),
                     [](const TileFrames& a, const TileFrames& b) { return a.depth > b.depth; });

    Canvas canvas(bounds.left, bounds.top, static_cast<int>(bounds.right - bounds.left),
                  static_cast<int>(bounds.bottom - bounds.top), background);
    for (const TileFrames& tile : work)
        for (const PlacedFrame& placed : tile.frames)
            canvas.Draw(placed, tile.depth, tile.opacity);
    preview.colour = canvas.TakeColour();
    preview.mask = canvas.TakeMask();
    preview.anchorX = static_cast<int>(-bounds.left);
    preview.anchorY = static_cast<int>(-bounds.top);
    return preview;
}

} // namespace zelvane
