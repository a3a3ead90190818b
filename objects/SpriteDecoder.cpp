#include "objects/SpriteDecoder.h"

// Sections: status messages; the checked output cursor and the plane
// targets; frame headers; 'SPR#' and 'SPR2' command decoding; the public
// entry points.

#include "bytes/ByteReader.h"
#include "objects/SpriteLayout.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace zelvane {

namespace {

// ---- status messages ----

#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
SpriteStatus Fail(SpriteError error, const char* format, ...)
{
    char text[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return {error, text};
}

// ---- the checked output cursor ----

// Where the next pixel of a frame goes. Rows are counted from -1, before the
// first row command; rows and columns stop at the frame's edge, so a run
// handed out by Claim() always lies inside the planes.
class FrameCursor {
public:
    struct Run {
        int row = 0;
        int column = 0;
        int count = 0; // pixels inside the frame; the rest of the run is dropped
    };

    FrameCursor(int width, int height) : width_(width), height_(height) {}

    void NextRow()
    {
        row_ = std::min(row_ + 1, height_);
        column_ = 0;
    }
    void SkipRows(int count)
    {
        row_ = std::min(row_ + count, height_);
        column_ = 0;
    }
    void SkipPixels(int count) { column_ = std::min(column_ + count, width_); }

    // The next `count` pixels of the current row, cut at the right edge; an
    // empty run outside the rows.
    Run Claim(int count)
    {
        Run run{row_, column_, 0};
        if (row_ >= 0 && row_ < height_)
            run.count = std::min(count, width_ - column_);
        column_ = std::min(column_ + count, width_);
        return run;
    }

private:
    int width_;
    int height_;
    int row_ = -1;
    int column_ = 0;
};

// How the bytes of one command's pixels are laid out: `stride` bytes a pixel
// (0: one byte shared by the whole run), the colour at `colourAt`, depth and
// alpha at their positions or, when -1, the fixed values.
struct PixelLayout {
    size_t stride = 1;
    size_t colourAt = 0;
    int depthAt = -1;
    int alphaAt = -1;
    int alphaShift = 0;
};

// The planes (and counts) a decode writes to; any may be absent.
struct Targets {
    PlainImage* colour = nullptr;
    PlainImage* depth = nullptr;
    PlainImage* alpha = nullptr;
    ColourCounts* counts = nullptr;

    // `pixels` holds at least `run.count` pixels of `layout`.
    void Put(const FrameCursor::Run& run, std::span<const uint8_t> pixels, const PixelLayout& layout) const
    {
        if (run.count <= 0)
            return;
        const auto n = static_cast<size_t>(run.count);
        const auto column = static_cast<size_t>(run.column);
        const size_t stride = layout.stride;
        if (colour) {
            std::span<uint8_t> out = colour->Row(run.row).subspan(column, n);
            for (size_t i = 0; i < n; ++i)
                out[i] = pixels[i * stride + layout.colourAt];
        }
        if (counts) {
            for (size_t i = 0; i < n; ++i)
                ++(*counts)[pixels[i * stride + layout.colourAt]];
        }
        if (depth) {
            std::span<uint8_t> out = depth->Row(run.row).subspan(column, n);
            if (layout.depthAt < 0)
                std::fill(out.begin(), out.end(), kPlainPixelDepth);
            else
                for (size_t i = 0; i < n; ++i)
                    out[i] = pixels[i * stride + static_cast<size_t>(layout.depthAt)];
        }
        if (alpha) {
            std::span<uint8_t> out = alpha->Row(run.row).subspan(column, n);
            if (layout.alphaAt < 0)
                std::fill(out.begin(), out.end(), kOpaqueAlpha);
            else
                for (size_t i = 0; i < n; ++i)
                    out[i] = static_cast<uint8_t>(pixels[i * stride + static_cast<size_t>(layout.alphaAt)]
                                                  << layout.alphaShift);
        }
    }
};

// ---- frame headers ----

ByteOrder HeaderOrder(const SpriteFrameInfo& info)
{
    return info.bigEndian ? ByteOrder::Big : ByteOrder::Little;
}

SpriteStatus ReadSprFrame(ByteReader& r, SpriteFrameInfo& info)
{
    using namespace spr_layout;
    const ByteOrder order = HeaderOrder(info);
    info.originY = static_cast<int16_t>(r.u16(order));
    info.originX = static_cast<int16_t>(r.u16(order));
    const int height = static_cast<int16_t>(r.u16(order));
    const int width = static_cast<int16_t>(r.u16(order));
    if (width < 0 || height < 0)
        return Fail(SpriteError::BadFrame, "frame %u: negative size %d x %d", info.frameIndex, width, height);
    info.width = width;
    info.height = height;
    info.commandsOffset = info.frameOffset + kCommandsPos;
    return {};
}

SpriteStatus ReadSpr2Frame(ByteReader& r, int32_t resourcePalette, SpriteFrameInfo& info)
{
    using namespace spr2_layout;
    info.width = r.u16le();
    info.height = r.u16le();
    info.flags = r.u32le();
    const int16_t palette = r.i16le();
    // Version 1001 frames say "the sprite's palette" with 0 as well.
    const bool ownPalette = info.version == kVersionFramed ? palette > 0 : palette >= 0;
    info.paletteId = ownPalette ? palette : resourcePalette;
    info.storedTransparentIndex = r.u16le();
    info.originY = r.i16le();
    info.originX = r.i16le();
    info.commandsOffset = info.frameOffset + spr2_layout::kCommandsPos;
    return {};
}

// A 'SPR#' kept in the other byte order shows a version above 16 bits that
// is small once swapped; its headers are read swapped.
bool StoredSwapped(SpriteFormat format, std::span<const uint8_t> resource)
{
    return format == SpriteFormat::Spr && ByteReader(resource).u32le() > 0xFFFF &&
           ByteReader(resource).u32be() <= 0xFFFF;
}

uint32_t ChosenFrame(int32_t frameIndex, uint32_t frameCount)
{
    return frameIndex >= 0 && static_cast<uint32_t>(frameIndex) < frameCount ? static_cast<uint32_t>(frameIndex) : 0;
}

// 'SPR2' version 1001: the frames follow one another, each behind its
// version and size, so finding frame n walks the n frames before it. A size
// that runs past the data fails that frame and every later one; the frames
// before it still decode.
SpriteStatus ReadFramedSpr2Info(std::span<const uint8_t> resource, int32_t frameIndex, SpriteFrameInfo& info)
{
    using namespace spr2_layout;
    ByteReader r(resource);
    info.version = r.u32le();
    const auto resourcePalette = static_cast<int32_t>(r.u32le());
    info.frameCount = r.u32le();
    if (!r.ok())
        return Fail(SpriteError::BadHeader, "resource header cut short (%zu bytes)", resource.size());
    if (info.frameCount == 0)
        return Fail(SpriteError::BadHeader, "no frames");
    if (info.frameCount > r.remaining() / kFramePrefixSize)
        return Fail(SpriteError::BadHeader, "%u frames cannot fit in the %zu bytes of data", info.frameCount,
                    r.remaining());
    info.frameIndex = ChosenFrame(frameIndex, info.frameCount);
    info.paletteId = resourcePalette;
    info.sized = true;
    for (uint32_t frame = 0;; ++frame) {
        const size_t at = r.position();
        r.skip(sizeof(uint32_t)); // the frame's own version: nothing depends on it
        const uint32_t size = r.u32le();
        if (!r.ok() || size > r.remaining()) {
            if (frame == info.frameIndex)
                return Fail(SpriteError::BadFrame, "frame %u: its size at byte %zu runs past the %zu bytes of data",
                            info.frameIndex, at, resource.size());
            return Fail(SpriteError::BadFrame,
                        "frame %u: cannot be reached, as frame %u at byte %zu runs past the %zu bytes of data",
                        info.frameIndex, frame, at, resource.size());
        }
        if (frame == info.frameIndex) {
            info.frameOffset = r.position();
            info.frameEnd = info.frameOffset + size;
            break;
        }
        r.skip(size);
    }
    if (info.frameEnd - info.frameOffset < kCommandsPos)
        return Fail(SpriteError::BadFrame, "frame %u: its %zu bytes cannot hold a frame header", info.frameIndex,
                    info.frameEnd - info.frameOffset);
    ByteReader header = r.sub(info.frameOffset, kCommandsPos);
    SpriteStatus status = ReadSpr2Frame(header, resourcePalette, info);
    if (info.width == 0 || info.height == 0)
        info.width = info.height = 1;
    return status;
}

// ---- command decoding ----

// Skips the padding byte that brings a command back to an even position in
// its frame. A missing padding byte shows up as truncation at the next read.
void PadToEven(ByteReader& r, const SpriteFrameInfo& info)
{
    if ((r.position() - info.frameOffset) & 1)
        r.skip(1);
}

SpriteStatus Truncated(const SpriteFrameInfo& info, size_t at)
{
    if (info.sized)
        return Fail(SpriteError::Truncated, "frame %u: the command at byte %zu runs past the frame's end at byte %zu",
                    info.frameIndex, at, info.frameEnd);
    return Fail(SpriteError::Truncated, "frame %u: data ends inside the command at byte %zu", info.frameIndex, at);
}

// A reader over the frame's bytes, at its first command.
ByteReader CommandReader(std::span<const uint8_t> resource, const SpriteFrameInfo& info)
{
    ByteReader r(resource.first(std::min(info.frameEnd, resource.size())));
    r.seek(info.commandsOffset);
    return r;
}

// The end command of a sized frame must be its last word.
SpriteStatus EndOfFrame(const ByteReader& r, const SpriteFrameInfo& info)
{
    if (info.sized && r.position() != info.frameEnd)
        return Fail(SpriteError::BadFrame, "frame %u: its commands end at byte %zu, %zu bytes before its size does",
                    info.frameIndex, r.position(), info.frameEnd - r.position());
    return {};
}

SpriteStatus DecodeSpr(std::span<const uint8_t> resource, const SpriteFrameInfo& info, const Targets& targets)
{
    using namespace spr_layout;
    ByteReader r = CommandReader(resource, info);
    FrameCursor cursor(info.width, info.height);
    for (;;) {
        const size_t at = r.position();
        const uint8_t command = r.u8();
        const uint8_t count = r.u8();
        if (!r.ok())
            return Truncated(info, at);
        switch (command) {
        case kSkipPixels:
            cursor.SkipPixels(count);
            break;
        case kColourRun: {
            const std::span<const uint8_t> colour = r.bytes(2); // colour, padding
            if (!r.ok())
                return Truncated(info, at);
            targets.Put(cursor.Claim(count), colour, {.stride = 0});
            break;
        }
        case kLiteral: {
            const std::span<const uint8_t> colours = r.bytes(count);
            if (!r.ok())
                return Truncated(info, at);
            targets.Put(cursor.Claim(count), colours, {.stride = 1});
            PadToEven(r, info);
            break;
        }
        case kRowStart:
            cursor.NextRow();
            break;
        case kEnd:
            return EndOfFrame(r, info);
        case kSkipRows:
            cursor.SkipRows(count);
            break;
        default:
            return Fail(SpriteError::BadToken, "frame %u: bad token 0x%02X at byte %zu", info.frameIndex, command, at);
        }
    }
}

SpriteStatus DecodeSpr2(std::span<const uint8_t> resource, const SpriteFrameInfo& info, const Targets& targets)
{
    using namespace spr2_layout;
    ByteReader r = CommandReader(resource, info);
    FrameCursor cursor(info.width, info.height);
    for (;;) {
        const size_t at = r.position();
        const uint16_t word = r.u16le();
        if (!r.ok())
            return Truncated(info, at);
        const int count = word & kCountMask;
        const auto pixelBytes = [&](size_t bytesPerPixel) { return r.bytes(static_cast<size_t>(count) * bytesPerPixel); };
        switch (word >> kCommandShift) {
        case kRowStart:
            cursor.NextRow();
            break;
        case kDepthColour: {
            const std::span<const uint8_t> pixels = pixelBytes(2);
            if (!r.ok())
                return Truncated(info, at);
            targets.Put(cursor.Claim(count), pixels, {.stride = 2, .colourAt = 1, .depthAt = 0});
            PadToEven(r, info);
            break;
        }
        case kDepthColourAlpha: {
            const std::span<const uint8_t> pixels = pixelBytes(3);
            if (!r.ok())
                return Truncated(info, at);
            targets.Put(cursor.Claim(count), pixels,
                        {.stride = 3, .colourAt = 1, .depthAt = 0, .alphaAt = 2, .alphaShift = kAlphaShift});
            PadToEven(r, info);
            break;
        }
        case kSkipPixels:
            cursor.SkipPixels(count);
            break;
        case kSkipRows:
            cursor.SkipRows(count);
            break;
        case kEnd:
            return EndOfFrame(r, info);
        case kColour: {
            const std::span<const uint8_t> pixels = pixelBytes(1);
            if (!r.ok())
                return Truncated(info, at);
            targets.Put(cursor.Claim(count), pixels, {.stride = 1});
            PadToEven(r, info);
            break;
        }
        default:
            return Fail(SpriteError::BadToken, "frame %u: bad token 0x%04X at byte %zu", info.frameIndex, word, at);
        }
    }
}

SpriteStatus Decode(std::span<const uint8_t> resource, const SpriteFrameInfo& info, const Targets& targets)
{
    return info.format == SpriteFormat::Spr ? DecodeSpr(resource, info, targets)
                                            : DecodeSpr2(resource, info, targets);
}

bool FitsInt16(int32_t value)
{
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

} // namespace

// ---- public entry points ----

std::optional<uint32_t> SpriteVersion(SpriteFormat format, std::span<const uint8_t> resource)
{
    ByteReader r(resource);
    const uint32_t version = r.u32(StoredSwapped(format, resource) ? ByteOrder::Big : ByteOrder::Little);
    return r.ok() ? std::optional(version) : std::nullopt;
}

SpriteStatus ReadSpriteFrameInfo(SpriteFormat format, std::span<const uint8_t> resource, int32_t frameIndex,
                                 SpriteFrameInfo& info)
{
    using namespace sprite_layout;
    info = {};
    info.format = format;
    info.bigEndian = StoredSwapped(format, resource);
    if (format == SpriteFormat::Spr2 && SpriteVersion(format, resource) == spr2_layout::kVersionFramed)
        return ReadFramedSpr2Info(resource, frameIndex, info);
    ByteReader r(resource);
    r.seek(kVersionPos);
    const ByteOrder order = HeaderOrder(info);
    info.version = r.u32(order);
    info.frameCount = r.u32(order);
    const auto resourcePalette = static_cast<int32_t>(r.u32(order));
    if (!r.ok())
        return Fail(SpriteError::BadHeader, "resource header cut short (%zu bytes)", resource.size());
    if (format == SpriteFormat::Spr2 && info.version != spr2_layout::kVersion)
        return Fail(SpriteError::UnsupportedVersion, "version %u is not read (only %u and %u)", info.version,
                    spr2_layout::kVersion, spr2_layout::kVersionFramed);
    if (info.frameCount == 0)
        return Fail(SpriteError::BadHeader, "no frames");
    if (info.frameCount > r.remaining() / kOffsetSize)
        return Fail(SpriteError::BadHeader, "offset table of %u frames cut short", info.frameCount);
    info.frameIndex = ChosenFrame(frameIndex, info.frameCount);
    r.skip(size_t{info.frameIndex} * kOffsetSize);
    info.frameOffset = r.u32(order);
    info.frameEnd = resource.size();
    info.paletteId = resourcePalette;
    const size_t headerSize = format == SpriteFormat::Spr ? spr_layout::kCommandsPos : spr2_layout::kCommandsPos;
    if (info.frameOffset > resource.size() || headerSize > resource.size() - info.frameOffset)
        return Fail(SpriteError::BadFrame, "frame %u: header at byte %zu lies outside the %zu bytes of data",
                    info.frameIndex, info.frameOffset, resource.size());
    r.seek(info.frameOffset);
    SpriteStatus status = format == SpriteFormat::Spr ? ReadSprFrame(r, info)
                                                      : ReadSpr2Frame(r, resourcePalette, info);
    if (info.width == 0 || info.height == 0)
        info.width = info.height = 1;
    return status;
}

SpriteStatus DecodeSpriteFrame(std::span<const uint8_t> resource, uint32_t planes, SpriteFrame& frame)
{
    const SpriteFrameInfo& info = frame.info;
    frame.colour = {};
    frame.depth = {};
    frame.alpha = {};
    if (info.width > kMaxFrameSide || info.height > kMaxFrameSide)
        return Fail(SpriteError::TooLarge, "frame %u: %d x %d pixels is above the %d pixel limit", info.frameIndex,
                    info.width, info.height, kMaxFrameSide);
    Targets targets;
    if (planes & kSpriteColourPlane) {
        frame.colour = PlainImage(info.width, info.height, 1, frame.transparentIndex);
        frame.colour.SetPalette(frame.palette);
        targets.colour = &frame.colour;
    }
    if (planes & kSpriteDepthPlane) {
        frame.depth = PlainImage(info.width, info.height, 1, kEmptyDepth);
        frame.depth.SetPalette(Palette::Grey());
        targets.depth = &frame.depth;
    }
    if (planes & kSpriteAlphaPlane) {
        frame.alpha = PlainImage(info.width, info.height, 1, kEmptyAlpha);
        frame.alpha.SetPalette(Palette::Grey());
        targets.alpha = &frame.alpha;
    }
    SpriteStatus status = Decode(resource, info, targets);
    if (!status.ok()) {
        frame.colour = {};
        frame.depth = {};
        frame.alpha = {};
    }
    return status;
}

SpriteStatus CountColours(std::span<const uint8_t> resource, const SpriteFrameInfo& info, ColourCounts& counts)
{
    ColourCounts frameCounts{};
    Targets targets;
    targets.counts = &frameCounts;
    SpriteStatus status = Decode(resource, info, targets);
    if (status.ok())
        for (size_t i = 0; i < counts.size(); ++i)
            counts[i] += frameCounts[i];
    return status;
}

uint32_t LoadSprite(CTGResFile& file, int16_t spriteId, int32_t frameIndex, const SpriteRequest& request,
                    SpriteFrame& frame)
{
    frame = {};
    SpriteFormat format = SpriteFormat::Spr;
    ResHandle* data = file.GetResource(kTypeSPR, spriteId, nullptr);
    if (!data) {
        format = SpriteFormat::Spr2;
        data = file.GetResource(kTypeSPR2, spriteId, nullptr);
    }
    if (!data) {
        frame.status = Fail(SpriteError::Missing, "no SPR# or SPR2 resource %d", spriteId);
        return kSpriteLoaded;
    }
    const std::span<const uint8_t> bytes = data->Bytes();
    const char* const typeName = format == SpriteFormat::Spr ? "SPR#" : "SPR2";
    uint32_t result = kSpriteLoaded;
    frame.status = ReadSpriteFrameInfo(format, bytes, frameIndex, frame.info);
    if (frame.status.ok()) {
        if (FitsInt16(frame.info.paletteId))
            frame.palette = Palette::Load(file, static_cast<int16_t>(frame.info.paletteId));
        if (!frame.palette)
            frame.palette = Palette::Default();
        frame.transparentIndex = request.transparentIndex ? *request.transparentIndex
                                                          : frame.palette->NearestIndex(request.keyColour);
        if (request.counts)
            frame.status = CountColours(bytes, frame.info, *request.counts);
        if (frame.status.ok() && (request.planes & kSpriteAllPlanes)) {
            frame.status = DecodeSpriteFrame(bytes, request.planes, frame);
            if (!frame.colour.IsNull())
                result |= kSpriteColourPlane;
            if (!frame.depth.IsNull())
                result |= kSpriteDepthPlane;
            if (!frame.alpha.IsNull())
                result |= kSpriteAlphaPlane;
        }
    }
    if (!frame.status.ok())
        frame.status.message = std::string(typeName) + " " + std::to_string(spriteId) + " " + frame.status.message;
    file.ReleaseResource(data);
    return result;
}

} // namespace zelvane
