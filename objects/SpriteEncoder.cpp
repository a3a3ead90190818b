#include "objects/SpriteEncoder.h"

// Sections: checks shared by both formats; 'SPR2' rows; 'SPR#' rows; the
// resource around the frames.

#include "bytes/ByteWriter.h"
#include "objects/SpriteLayout.h"

#include <algorithm>
#include <limits>

namespace zelvane {

namespace {

// ---- shared checks ----

bool FitsInt16(int value)
{
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

std::string CheckPlanes(const SpriteFrame& frame, size_t index, int maxSide)
{
    const std::string where = "frame " + std::to_string(index) + ": ";
    const PlainImage& colour = frame.colour;
    if (colour.IsNull() || colour.BytesPerPixel() != 1)
        return where + "needs an 8-bit colour plane";
    for (const PlainImage* plane : {&frame.depth, &frame.alpha})
        if (!plane->IsNull() && (plane->BytesPerPixel() != 1 || plane->Width() != colour.Width() ||
                                 plane->Height() != colour.Height()))
            return where + "depth and alpha planes must be 8-bit and as large as the colour plane";
    if (colour.Width() > maxSide || colour.Height() > maxSide)
        return where + "sides above " + std::to_string(maxSide) + " pixels";
    if (!FitsInt16(frame.info.originX) || !FitsInt16(frame.info.originY))
        return where + "origin does not fit 16 bits";
    return {};
}

// The pixel (colour, depth, alpha) as the decoder would give it back.
struct Pixel {
    uint8_t colour;
    uint8_t depth;
    uint8_t alpha;
};

class PixelRow {
public:
    PixelRow(const SpriteFrame& frame, int y)
        : colour_(frame.colour.Row(y)), transparent_(frame.transparentIndex)
    {
        if (!frame.depth.IsNull())
            depth_ = frame.depth.Row(y);
        if (!frame.alpha.IsNull())
            alpha_ = frame.alpha.Row(y);
    }

    Pixel At(size_t x) const
    {
        const uint8_t c = colour_[x];
        const uint8_t a = alpha_.empty() ? (c == transparent_ ? kEmptyAlpha : kOpaqueAlpha) : alpha_[x];
        const uint8_t d = !depth_.empty() ? depth_[x] : (a == kEmptyAlpha ? kEmptyDepth : kPlainPixelDepth);
        return {c, d, a};
    }
    bool IsSkipped(size_t x) const
    {
        const Pixel p = At(x);
        return p.colour == transparent_ && p.depth == kEmptyDepth && p.alpha == kEmptyAlpha;
    }
    // 'SPR#' draws a pixel when it is not fully transparent.
    bool IsDrawn(size_t x) const { return At(x).alpha != kEmptyAlpha; }
    size_t Width() const { return colour_.size(); }
    bool HasDepth() const { return !depth_.empty(); }

private:
    std::span<const uint8_t> colour_;
    std::span<const uint8_t> depth_;
    std::span<const uint8_t> alpha_;
    uint8_t transparent_;
};

// ---- 'SPR2' ----

void Spr2Command(ByteWriter& w, uint16_t command, size_t count)
{
    using namespace spr2_layout;
    w.u16le(static_cast<uint16_t>((command << kCommandShift) | count));
}

// Adds commands that repeat `command` for `count` units in pieces the count
// field can hold.
void Spr2Repeat(ByteWriter& w, uint16_t command, size_t count)
{
    for (size_t left = count; left > 0;) {
        const size_t piece = std::min<size_t>(left, spr2_layout::kMaxCount);
        Spr2Command(w, command, piece);
        left -= piece;
    }
}

// Colour-only pixels are for frames without a depth plane: in a frame with
// one, every drawn pixel carries its depth, as real files store them, even
// when it equals what a colour-only pixel would get.
uint16_t Spr2Class(const Pixel& p, bool withDepth)
{
    using namespace spr2_layout;
    if (p.alpha != kOpaqueAlpha)
        return kDepthColourAlpha;
    return withDepth ? kDepthColour : kColour;
}

// The pixel commands of one row (without its row command); pixels [begin,
// end) are not skipped at either end. Positions inside the row are even
// relative to the frame, so padding depends on the row's own length.
void Spr2RowPixels(ByteWriter& w, const PixelRow& row, size_t end)
{
    using namespace spr2_layout;
    size_t x = 0;
    while (x < end) {
        size_t run = x;
        if (row.IsSkipped(x)) {
            while (run < end && row.IsSkipped(run))
                ++run;
            Spr2Repeat(w, kSkipPixels, run - x);
            x = run;
            continue;
        }
        const uint16_t command = Spr2Class(row.At(x), row.HasDepth());
        while (run < end && run - x < kMaxCount && !row.IsSkipped(run) &&
               Spr2Class(row.At(run), row.HasDepth()) == command)
            ++run;
        Spr2Command(w, command, run - x);
        for (size_t i = x; i < run; ++i) {
            const Pixel p = row.At(i);
            if (command != kColour)
                w.u8(p.depth);
            w.u8(p.colour);
            if (command == kDepthColourAlpha)
                w.u8(static_cast<uint8_t>(p.alpha >> kAlphaShift));
        }
        if (w.size() & 1)
            w.u8(0);
        x = run;
    }
}

std::string EncodeSpr2Frame(ByteWriter& w, const SpriteFrame& frame, size_t index)
{
    using namespace spr2_layout;
    const int32_t palette = FitsInt16(frame.info.paletteId) ? frame.info.paletteId : -1;
    uint32_t flags = kFlagColour;
    if (!frame.depth.IsNull())
        flags |= kFlagDepth;
    if (!frame.alpha.IsNull())
        flags |= kFlagAlpha;
    w.u16le(static_cast<uint16_t>(frame.colour.Width()));
    w.u16le(static_cast<uint16_t>(frame.colour.Height()));
    w.u32le(flags);
    w.u16le(static_cast<uint16_t>(palette));
    w.u16le(frame.transparentIndex);
    w.u16le(static_cast<uint16_t>(frame.info.originY));
    w.u16le(static_cast<uint16_t>(frame.info.originX));

    size_t emptyRows = 0;
    for (int y = 0; y < frame.colour.Height(); ++y) {
        const PixelRow row(frame, y);
        size_t end = row.Width();
        while (end > 0 && row.IsSkipped(end - 1))
            --end;
        if (end == 0) {
            ++emptyRows;
            continue;
        }
        Spr2Repeat(w, kSkipRows, emptyRows);
        emptyRows = 0;
        ByteWriter pixels;
        Spr2RowPixels(pixels, row, end);
        const size_t rowBytes = 2 + pixels.size();
        if (rowBytes > kMaxCount)
            return "frame " + std::to_string(index) + ": row " + std::to_string(y) + " needs " +
                   std::to_string(rowBytes) + " bytes, more than a row command can count";
        Spr2Command(w, kRowStart, rowBytes);
        w.bytes(pixels.data());
    }
    Spr2Command(w, kEnd, 0);
    return {};
}

// ---- 'SPR#' ----

void SprCommand(ByteWriter& w, uint8_t command, size_t count)
{
    w.u8(command);
    w.u8(static_cast<uint8_t>(count));
}

void SprRepeat(ByteWriter& w, uint8_t command, size_t count)
{
    for (size_t left = count; left > 0;) {
        const size_t piece = std::min<size_t>(left, spr_layout::kMaxCount);
        SprCommand(w, command, piece);
        left -= piece;
    }
}

// Runs this long or longer of one colour are cheaper as a colour run.
constexpr size_t kMinColourRun = 3;

size_t SameColourRun(const PixelRow& row, size_t x, size_t end)
{
    size_t run = x + 1;
    while (run < end && run - x < spr_layout::kMaxCount && row.IsDrawn(run) && row.At(run).colour == row.At(x).colour)
        ++run;
    return run - x;
}

void SprRowPixels(ByteWriter& w, const PixelRow& row, size_t end)
{
    using namespace spr_layout;
    size_t x = 0;
    while (x < end) {
        if (!row.IsDrawn(x)) {
            size_t run = x;
            while (run < end && !row.IsDrawn(run))
                ++run;
            SprRepeat(w, kSkipPixels, run - x);
            x = run;
            continue;
        }
        const size_t same = SameColourRun(row, x, end);
        if (same >= kMinColourRun) {
            SprCommand(w, kColourRun, same);
            w.u8(row.At(x).colour);
            w.u8(0);
            x += same;
            continue;
        }
        // Literal pixels up to the next skip or the next long colour run.
        size_t run = x;
        while (run < end && run - x < kMaxCount && row.IsDrawn(run) && SameColourRun(row, run, end) < kMinColourRun)
            ++run;
        run = std::max(run, x + 1);
        SprCommand(w, kLiteral, run - x);
        for (size_t i = x; i < run; ++i)
            w.u8(row.At(i).colour);
        if (w.size() & 1)
            w.u8(0);
        x = run;
    }
}

std::string EncodeSprFrame(ByteWriter& w, const SpriteFrame& frame)
{
    using namespace spr_layout;
    w.u16le(static_cast<uint16_t>(frame.info.originY));
    w.u16le(static_cast<uint16_t>(frame.info.originX));
    w.u16le(static_cast<uint16_t>(frame.colour.Height()));
    w.u16le(static_cast<uint16_t>(frame.colour.Width()));
    w.u16le(0);
    size_t emptyRows = 0;
    for (int y = 0; y < frame.colour.Height(); ++y) {
        const PixelRow row(frame, y);
        size_t end = row.Width();
        while (end > 0 && !row.IsDrawn(end - 1))
            --end;
        if (end == 0) {
            ++emptyRows;
            continue;
        }
        SprRepeat(w, kSkipRows, emptyRows);
        emptyRows = 0;
        SprCommand(w, kRowStart, 0);
        SprRowPixels(w, row, end);
    }
    SprCommand(w, kEnd, 0);
    return {};
}

// ---- the resource ----

using FrameWriter = std::string (*)(ByteWriter&, const SpriteFrame&, size_t);

EncodedSprite EncodeFrames(std::span<const SpriteFrame> frames, uint32_t version, int32_t paletteId, int maxSide,
                           FrameWriter writeFrame)
{
    using namespace sprite_layout;
    EncodedSprite result;
    if (frames.empty()) {
        result.error = "a sprite needs at least one frame";
        return result;
    }
    for (size_t i = 0; i < frames.size(); ++i) {
        result.error = CheckPlanes(frames[i], i, maxSide);
        if (!result.ok())
            return result;
    }
    // Each frame is written on its own, so padding is even relative to the
    // frame as the decoder counts it; frames are an even number of bytes long.
    ByteWriter w;
    w.u32le(version);
    w.u32le(static_cast<uint32_t>(frames.size()));
    w.u32le(static_cast<uint32_t>(paletteId));
    const size_t offsetsAt = w.size();
    w.fill(frames.size() * kOffsetSize, 0);
    for (size_t i = 0; i < frames.size(); ++i) {
        w.patch_u32le(offsetsAt + i * kOffsetSize, static_cast<uint32_t>(w.size()));
        ByteWriter frame;
        result.error = writeFrame(frame, frames[i], i);
        if (!result.ok())
            return result;
        w.bytes(frame.data());
    }
    result.bytes = w.take();
    return result;
}

} // namespace

EncodedSprite EncodeSpr2(std::span<const SpriteFrame> frames, int32_t paletteId)
{
    return EncodeFrames(frames, spr2_layout::kVersion, paletteId, spr2_layout::kMaxSide, &EncodeSpr2Frame);
}

EncodedSprite EncodeSpr(std::span<const SpriteFrame> frames, int32_t paletteId)
{
    return EncodeFrames(frames, spr_layout::kWrittenVersion, paletteId, spr_layout::kMaxSide,
                        [](ByteWriter& w, const SpriteFrame& frame, size_t) { return EncodeSprFrame(w, frame); });
}

} // namespace zelvane
