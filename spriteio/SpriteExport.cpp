#include "spriteio/SpriteExport.h"

// Sections: the objects and their tiles; the frames they show; names; the
// sheet; the export.

#include "objects/PreviewTile.h"
#include "objects/SpriteLayout.h"
#include "resfile/CTGDrawGroup.h"
#include "spriteio/SpriteFrames.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <map>
#include <set>

namespace zelvane {

namespace {

constexpr int kImagesPerGroup = 12; // 4 directions × 3 zooms
constexpr int kSheetGap = 4;        // pixels between frames and around the sheet

// ---- the objects and their tiles ----

struct ObjectTiles {
    const CObjectEntry* object;
    std::vector<const CObjectEntry*> entries; // one per tile
    std::vector<PreviewTile> places;
};

ObjectTiles TilesOf(const CObjectEntry& object)
{
    ObjectTiles tiles{&object, {&object}, {}};
    std::vector<std::span<const uint8_t>> members;
    for (const CObjectEntry* member : object.Members())
        members.push_back(member->Definition().Bytes());
    tiles.places = PreviewTilesOf(object.Definition().Bytes(), members);
    if (tiles.places.size() == members.size() && !members.empty())
        tiles.entries.assign(object.Members().begin(), object.Members().end());
    tiles.places.resize(std::min(tiles.places.size(), tiles.entries.size()));
    tiles.entries.resize(tiles.places.size());
    return tiles;
}

// ---- the frames they show ----

struct FrameKey {
    int16_t sprite;
    int32_t frame;
    auto operator<=>(const FrameKey&) const = default;
};

struct Gathered {
    std::vector<int16_t> sprites;          // in the order first met
    std::map<int16_t, size_t> owner;       // sprite → index of the object that exports it
    std::map<FrameKey, ManifestPlace> shown; // frames the owner's draw groups show, first place
};

void Gather(CTGResFile& container, const std::vector<ObjectTiles>& objects, Gathered& gathered)
{
    for (size_t o = 0; o < objects.size(); ++o) {
        const ObjectTiles& tiles = objects[o];
        for (size_t t = 0; t < tiles.places.size(); ++t) {
            const PreviewTile& place = tiles.places[t];
            for (int32_t g = 0; g < place.drawGroupCount; ++g) {
                const int32_t id = int32_t{place.firstDrawGroup} + g;
                if (id > std::numeric_limits<int16_t>::max())
                    break;
                CTGDrawGroup group;
                if (group.Load(container, static_cast<int16_t>(id)) != kResOk)
                    continue;
                for (size_t i = 0; i < group.ImageCount(); ++i)
                    for (const DrawGroupSprite& reference : group.Image(i).sprites) {
                        if (reference.spriteId < std::numeric_limits<int16_t>::min() ||
                            reference.spriteId > std::numeric_limits<int16_t>::max())
                            continue;
                        const auto sprite = static_cast<int16_t>(reference.spriteId);
                        if (gathered.owner.emplace(sprite, o).second)
                            gathered.sprites.push_back(sprite);
                        if (gathered.owner[sprite] != o || i >= kImagesPerGroup)
                            continue;
                        const int index = static_cast<int>(i);
                        gathered.shown.emplace(FrameKey{sprite, reference.value1},
                                               ManifestPlace{static_cast<int>(t), index % 4, 2 - index / 4});
                    }
            }
        }
    }
}

// ---- names ----

// "Chair - Maple Dining" with OBJD 128 → "chair-maple-dining-128".
std::string StemOf(const CObjectEntry& object)
{
    constexpr size_t kMostNameCharacters = 32;
    std::string stem;
    for (const char c : object.ResourceName()) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) && u < 0x80)
            stem += static_cast<char>(std::tolower(u));
        else if (!stem.empty() && stem.back() != '-')
            stem += '-';
        if (stem.size() >= kMostNameCharacters)
            break;
    }
    while (!stem.empty() && stem.back() == '-')
        stem.pop_back();
    return (stem.empty() ? std::string("object") : stem) + "-" + std::to_string(object.DefinitionId());
}

std::string FrameStem(const std::string& objectStem, int16_t sprite, size_t frame,
                      const std::optional<ManifestPlace>& shown)
{
    std::string stem = objectStem;
    if (shown)
        stem += "-t" + std::to_string(shown->tile) + "-dir" + std::to_string(shown->direction) + "-" +
                kZoomNames[shown->zoomShift];
    return stem + "-s" + std::to_string(sprite) + "-f" + std::to_string(frame);
}

// ---- the sheet ----

struct SheetItem {
    ManifestFrame* frame;
    const SpriteFrame* planes;
};

// Rows of frames: per tile and zoom the four directions, then those no
// image shows. Sets each frame's place and returns the sheet's size.
bool LayOutSheet(std::vector<std::vector<SheetItem>>& rows, int& width, int& height)
{
    int64_t y = kSheetGap, widest = 0;
    for (std::vector<SheetItem>& row : rows) {
        if (row.empty())
            continue;
        int64_t x = kSheetGap, tallest = 0;
        for (SheetItem& item : row) {
            item.frame->sheetX = static_cast<int>(std::min<int64_t>(x, kMaxSheetSide));
            item.frame->sheetY = static_cast<int>(std::min<int64_t>(y, kMaxSheetSide));
            x += item.frame->width + kSheetGap;
            tallest = std::max<int64_t>(tallest, item.frame->height);
        }
        widest = std::max(widest, x);
        y += tallest + kSheetGap;
    }
    if (widest > kMaxSheetSide || y > kMaxSheetSide || uint64_t(widest) * uint64_t(y) > kMaxSheetPixels)
        return false;
    width = static_cast<int>(std::max<int64_t>(widest, 1));
    height = static_cast<int>(std::max<int64_t>(y, 1));
    return true;
}

void CopyInto(PlainImage& sheet, const PlainImage& picture, int atX, int atY)
{
    const size_t bytes = static_cast<size_t>(picture.Width()) * picture.BytesPerPixel();
    for (int y = 0; y < picture.Height(); ++y)
        std::copy_n(picture.Row(y).begin(), bytes,
                    sheet.Row(atY + y).begin() + static_cast<ptrdiff_t>(atX) * sheet.BytesPerPixel());
}

} // namespace

// ---- the export ----

SpriteExport ExportSprites(const CObjectFile& file, const SpriteExportOptions& options)
{
    SpriteExport result;
    result.manifest.objectFile = options.objectFileName;
    std::vector<ObjectTiles> objects;
    if (options.objectId) {
        const CObjectEntry* object = file.FindObject(*options.objectId);
        if (!object) {
            result.error = "no object has OBJD id " + std::to_string(*options.objectId);
            return result;
        }
        objects.push_back(TilesOf(*object));
    } else {
        for (const CObjectEntry* object : file.ListedObjects())
            objects.push_back(TilesOf(*object));
    }
    CTGResFile& container = file.Container();
    Gathered gathered;
    Gather(container, objects, gathered);

    for (const ObjectTiles& tiles : objects) {
        ManifestObject object;
        object.id = tiles.object->DefinitionId();
        object.name = tiles.object->ResourceName();
        object.guid = static_cast<uint32_t>(tiles.object->Definition().Guid());
        for (size_t t = 0; t < tiles.places.size(); ++t)
            object.tiles.push_back(
                {tiles.entries[t]->DefinitionId(), tiles.places[t].x, tiles.places[t].y, tiles.places[t].level});
        result.manifest.objects.push_back(std::move(object));
    }

    // Every frame of every sprite, decoded; the planes stay for the sheet.
    std::vector<WholeSprite> decoded;
    std::map<int32_t, Palette> palettes;
    for (const int16_t id : gathered.sprites) {
        WholeSprite sprite = LoadWholeSprite(container, id, kMaxManifestFrames);
        if (!sprite.ok()) {
            result.notes.push_back(sprite.error + "; left out");
            continue;
        }
        const size_t o = gathered.owner.at(id);
        const std::string stem = StemOf(*objects[o].object);
        ManifestSprite entry;
        entry.id = id;
        entry.type = sprite.format == SpriteFormat::Spr ? "SPR#" : "SPR2";
        entry.object = objects[o].object->DefinitionId();
        for (size_t f = 0; f < sprite.frames.size(); ++f) {
            const SpriteFrame& planes = sprite.frames[f];
            ManifestFrame frame;
            frame.width = planes.colour.Width();
            frame.height = planes.colour.Height();
            frame.originX = planes.info.originX;
            frame.originY = planes.info.originY;
            frame.paletteId = planes.info.paletteId;
            if (const auto shown = gathered.shown.find({id, static_cast<int32_t>(f)}); shown != gathered.shown.end())
                frame.shown = shown->second;
            if (options.layout == SpriteLayoutChoice::FramePerFile) {
                const std::string name = FrameStem(stem, id, f, frame.shown);
                frame.image = name + ".png";
                frame.depth = name + "-depth.png";
                result.images.push_back({frame.image, FrameRgba(planes)});
                result.images.push_back({frame.depth, planes.depth});
            }
            if (planes.palette)
                palettes.emplace(frame.paletteId, *planes.palette);
            entry.frames.push_back(std::move(frame));
        }
        result.manifest.sprites.push_back(std::move(entry));
        decoded.push_back(std::move(sprite));
    }
    if (result.manifest.sprites.empty()) {
        result.error = gathered.sprites.empty() ? "the object's draw groups show no sprite"
                                                : "no sprite of the object could be read";
        return result;
    }
    for (const auto& [id, colours] : palettes)
        result.manifest.palettes.push_back({id, colours});

    if (options.layout == SpriteLayoutChoice::SheetPerObject)
        for (size_t o = 0; o < objects.size(); ++o) {
            ManifestObject& object = result.manifest.objects[o];
            // Rows: tile t, zoom z at t × 3 + z; the unshown frames last.
            std::vector<std::vector<SheetItem>> rows(objects[o].places.size() * 3 + 1);
            std::vector<std::vector<SheetItem>> byDirection(rows.size() * 4);
            for (size_t s = 0; s < result.manifest.sprites.size(); ++s) {
                ManifestSprite& sprite = result.manifest.sprites[s];
                if (sprite.object != object.id)
                    continue;
                for (size_t f = 0; f < sprite.frames.size(); ++f) {
                    ManifestFrame& frame = sprite.frames[f];
                    const SheetItem item{&frame, &decoded[s].frames[f]};
                    if (frame.shown)
                        byDirection[(frame.shown->tile * 3 + frame.shown->zoomShift) * 4 + frame.shown->direction]
                            .push_back(item);
                    else
                        rows.back().push_back(item);
                }
            }
            for (size_t r = 0; r + 1 < rows.size(); ++r)
                for (int d = 0; d < 4; ++d)
                    for (const SheetItem& item : byDirection[r * 4 + d])
                        rows[r].push_back(item);
            if (std::all_of(rows.begin(), rows.end(), [](const auto& row) { return row.empty(); }))
                continue;
            ManifestSheet sheet;
            const std::string stem = StemOf(*objects[o].object);
            sheet.image = stem + "-sheet.png";
            sheet.depth = stem + "-sheet-depth.png";
            if (!LayOutSheet(rows, sheet.width, sheet.height)) {
                result.error = "the sheet of object " + std::to_string(object.id) + " would be larger than " +
                               std::to_string(kMaxSheetSide) + " pixels a side or " +
                               std::to_string(kMaxSheetPixels) + " pixels; export one file a frame";
                return result;
            }
            PlainImage colour(sheet.width, sheet.height, 4, 0);
            colour.SetOrder(ChannelOrder::Rgb);
            PlainImage depth(sheet.width, sheet.height, 1, kEmptyDepth);
            depth.SetPalette(Palette::Grey());
            for (const std::vector<SheetItem>& row : rows)
                for (const SheetItem& item : row) {
                    CopyInto(colour, FrameRgba(*item.planes), item.frame->sheetX, item.frame->sheetY);
                    CopyInto(depth, item.planes->depth, item.frame->sheetX, item.frame->sheetY);
                }
            result.images.push_back({sheet.image, std::move(colour)});
            result.images.push_back({sheet.depth, std::move(depth)});
            object.sheet = sheet;
        }
    return result;
}

} // namespace zelvane
