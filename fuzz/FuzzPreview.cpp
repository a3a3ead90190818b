// Composes the previews of a hostile object file: object definitions, draw
// groups, sprites of both kinds and palettes all come from the input.
//
// The input is cut at every "ZLV!" into parts. Part 0 steers: byte 0 picks
// the image index (mod 12), bytes 1 to 3 the background colour, byte 4 the
// tiles' opacity. Every other part is one resource: byte 0 picks its type
// (OBJD, DGRP, SPR2, SPR#, PALT by its value mod 5; bit 7 marks it
// converted), bytes 1 and 2 its id (little-endian), the rest is its data.
// The parts become an IFF file that is opened as the editor opens one, and
// every listed object is composed with its tiles.
//
// Besides the sanitizers it checks that a preview's two images are there
// and of one size, never smaller than 17 × 17 nor larger than the
// placement limit allows, and that the 8-pixel margin keeps the background
// and an empty mask.

#include "bytes/ByteReader.h"
#include "fuzz/FuzzSupport.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectPreview.h"
#include "objects/PreviewTile.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffBuilder.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <string>

using namespace zelvane;

namespace {

constexpr char kSeparator[] = "ZLV!";
constexpr size_t kSeparatorSize = sizeof kSeparator - 1;
constexpr size_t kMaxParts = 48;
constexpr size_t kMaxObjects = 6;
constexpr int kMargin = 8;
constexpr int kLargestSide = 2 * kPreviewPlacementLimit + 2 * kMargin;

std::vector<std::span<const uint8_t>> Parts(const uint8_t* data, size_t size)
{
    std::vector<std::span<const uint8_t>> parts;
    const uint8_t* start = data;
    const uint8_t* end = data + size;
    while (parts.size() < kMaxParts) {
        const uint8_t* next = std::search(start, end, kSeparator, kSeparator + kSeparatorSize);
        parts.emplace_back(start, static_cast<size_t>(next - start));
        if (next == end)
            break;
        start = next + kSeparatorSize;
    }
    return parts;
}

void CheckPreview(const ObjectPreview& preview, Rgb background, const std::string& where)
{
    const int width = preview.colour.Width();
    const int height = preview.colour.Height();
    fuzz::Check(!preview.colour.IsNull() && preview.colour.BytesPerPixel() == 3, "no 24-bit colour image", where);
    fuzz::Check(preview.mask.Width() == width && preview.mask.Height() == height && preview.mask.BytesPerPixel() == 1,
                "the mask differs from the colour image", where);
    fuzz::Check(
        width >= 2 * kMargin + 1 && height >= 2 * kMargin + 1 && width <= kLargestSide && height <= kLargestSide,
        "a preview size outside its limits", where + ": " + std::to_string(width) + " x " + std::to_string(height));
    auto checkMargin = [&](int x, int y) {
        fuzz::Check(preview.colour.PixelColour(x, y) == background && preview.mask.PixelByte(x, y) == 0,
                    "something was drawn in the margin", where + " at " + std::to_string(x) + ", " + std::to_string(y));
    };
    for (int y = 0; y < height; ++y) {
        if (y < kMargin || y >= height - kMargin) {
            for (int x = 0; x < width; ++x)
                checkMargin(x, y);
            continue;
        }
        for (int x = 0; x < kMargin; ++x) {
            checkMargin(x, y);
            checkMargin(width - 1 - x, y);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::span<const uint8_t>> parts = Parts(data, size);
    const std::span<const uint8_t> steer = parts[0];
    auto steerByte = [&](size_t i) { return i < steer.size() ? steer[i] : uint8_t{0}; };
    const int imageIndex = steerByte(0) % 12;
    const Rgb background{steerByte(1), steerByte(2), steerByte(3)};
    const uint8_t opacity = steer.size() > 4 ? steer[4] : uint8_t{255};

    static const ResType kTypes[] = {kTypeOBJD, kTypeDGRP, kTypeSPR2, kTypeSPR, kTypePALT};
    IffBuilder builder;
    for (size_t p = 1; p < parts.size(); ++p) {
        const std::span<const uint8_t> part = parts[p];
        if (part.size() < 3)
            continue;
        ByteReader idBytes(part.subspan(1, 2));
        const int16_t id = idBytes.i16le();
        const uint16_t flags = (part[0] & 0x80) ? kChunkFlagConverted : 0;
        builder.AddChunk(kTypes[(part[0] & 0x7F) % std::size(kTypes)], id, "", part.subspan(3), flags);
    }
    const std::string path = fuzz::ScratchFolder() + "/preview.iff";
    const std::vector<uint8_t> file = builder.Build(IffBuilder::Map::Written);
    fuzz::WriteWholeFile(path, file.data(), file.size());

    auto container = std::make_unique<CTGIffFile>();
    container->SetOpenReadOnly(true);
    if (container->OpenContainer(path) != kResOk)
        return 0;
    CObjectFile objects(path, std::move(container));
    // A record that cannot be read ends the list; the objects before it are composed all the same.
    static_cast<void>(objects.BuildLists());
    size_t composed = 0;
    for (const CObjectEntry* entry : objects.ListedObjects()) {
        if (composed++ == kMaxObjects)
            break;
        std::vector<std::span<const uint8_t>> members;
        for (const CObjectEntry* member : entry->Members())
            members.push_back(member->Definition().Bytes());
        std::vector<PreviewTile> tiles = PreviewTilesOf(entry->Definition().Bytes(), members);
        for (PreviewTile& tile : tiles)
            tile.opacity = opacity;
        const std::string where = "OBJD " + std::to_string(entry->DefinitionId());
        CheckPreview(ComposeObjectPreview(objects.Container(), tiles, imageIndex, background), background, where);
        if (imageIndex != kPreviewImageIndex)
            CheckPreview(ComposeObjectPreview(objects.Container(), tiles), kPreviewBackground, where);
    }
    return 0;
}
