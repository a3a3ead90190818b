#include "bake/BakePlan.h"

// Sections: what the file holds; the tiles; the palette; sprites and draw
// groups; the plan.

#include "objects/CObjectEntry.h"
#include "objects/PreviewTile.h"
#include "objects/SpriteDecoder.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGResFile.h"

#include <algorithm>
#include <limits>

namespace zelvane {

namespace {

// New ids are looked for from here up, where object files keep graphics.
constexpr int32_t kFirstFreeId = 100;
constexpr uint32_t kMostFramesRead = 4096;
constexpr size_t kFirstDrawGroupWord = objd::kFirstDrawGroup / 2;
constexpr size_t kDrawGroupCountWord = objd::kDrawGroupCount / 2;

bool FitsInt16(int64_t value)
{
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

// ---- what the file holds ----

struct Inventory {
    std::map<int16_t, std::string> sprites;     // 'SPR2' and 'SPR#' ids, with a name
    std::map<int16_t, std::string> drawGroups;
    std::map<int16_t, std::set<int32_t>> shown; // readable draw groups: the sprite ids they show
};

// The ids (and names) of every resource of `type`.
std::map<int16_t, std::string> IdsOf(CTGResFile& file, ResType type)
{
    std::map<int16_t, std::string> ids;
    const int16_t count = file.CountResources(type);
    for (int32_t i = 1; i <= count; ++i) {
        ResHandle* data = file.GetIndResource(type, i, nullptr);
        if (!data)
            continue;
        int16_t id = 0;
        std::string name;
        file.GetResId(data, id);
        file.GetResName(data, name);
        ids.emplace(id, name);
        file.ReleaseResource(data);
    }
    return ids;
}

Inventory Take(CTGResFile& file)
{
    Inventory inventory;
    inventory.sprites = IdsOf(file, kTypeSPR2);
    inventory.sprites.merge(IdsOf(file, kTypeSPR));
    inventory.drawGroups = IdsOf(file, kTypeDGRP);
    for (const auto& [id, name] : inventory.drawGroups) {
        CTGDrawGroup group;
        if (group.Load(file, id) != kResOk)
            continue;
        std::set<int32_t>& shown = inventory.shown[id];
        for (const DrawGroupImage& image : group.Images())
            for (const DrawGroupSprite& reference : image.sprites)
                shown.insert(reference.spriteId);
    }
    return inventory;
}

// The palette ids the frames of sprite `id` use; false when it cannot be read.
bool PalettesOf(CTGResFile& file, int16_t id, std::vector<int32_t>& palettes)
{
    bool readable = true;
    for (const auto& [type, format] : {std::pair{kTypeSPR, SpriteFormat::Spr}, std::pair{kTypeSPR2, SpriteFormat::Spr2}}) {
        ResHandle* data = file.GetResource(type, id, nullptr);
        if (!data)
            continue;
        SpriteFrameInfo info;
        readable = readable && ReadSpriteFrameInfo(format, data->Bytes(), 0, info).ok();
        const uint32_t frames = std::min(info.frameCount, kMostFramesRead);
        for (uint32_t f = 0; readable && f < frames; ++f) {
            readable = ReadSpriteFrameInfo(format, data->Bytes(), static_cast<int32_t>(f), info).ok();
            if (readable && std::find(palettes.begin(), palettes.end(), info.paletteId) == palettes.end())
                palettes.push_back(info.paletteId);
        }
        file.ReleaseResource(data);
    }
    return readable;
}

// The smallest id from kFirstFreeId up that `taken` refuses not.
template <typename Taken>
bool FreeId(Taken taken, int16_t& id)
{
    for (int32_t candidate = kFirstFreeId; candidate <= std::numeric_limits<int16_t>::max(); ++candidate)
        if (!taken(static_cast<int16_t>(candidate))) {
            id = static_cast<int16_t>(candidate);
            return true;
        }
    return false;
}

// ---- the tiles ----

struct TileSource {
    const CObjectEntry* entry;
    PreviewTile place;
};

std::vector<TileSource> TilesOf(const CObjectEntry& object, BakePlan& plan)
{
    std::vector<const CObjectEntry*> entries = {&object};
    std::vector<std::span<const uint8_t>> members;
    for (const CObjectEntry* member : object.Members())
        members.push_back(member->Definition().Bytes());
    const std::vector<PreviewTile> places = PreviewTilesOf(object.Definition().Bytes(), members);
    if (places.size() == members.size() && !members.empty())
        entries.assign(object.Members().begin(), object.Members().end());
    std::vector<TileSource> tiles;
    for (size_t i = 0; i < places.size() && i < entries.size(); ++i) {
        if (places[i].level != 0) {
            plan.notes.push_back("tile (" + std::to_string(places[i].x) + ", " + std::to_string(places[i].y) +
                                 ") lies on level " + std::to_string(places[i].level) +
                                 " and keeps its graphics: the scene has only the floor's level");
            continue;
        }
        tiles.push_back({entries[i], places[i]});
    }
    return tiles;
}

bool LeftOut(const PreviewTile& tile, int32_t spriteId)
{
    return tile.leftOutSpriteCount > 0 && spriteId >= tile.firstLeftOutSprite &&
           spriteId <= int32_t{tile.firstLeftOutSprite} + tile.leftOutSpriteCount - 1;
}

// The draw group ids of a tile's definition that fit 16 bits.
std::vector<int16_t> RangeOf(const PreviewTile& tile)
{
    std::vector<int16_t> ids;
    for (int32_t i = 0; i < tile.drawGroupCount; ++i)
        if (FitsInt16(int64_t{tile.firstDrawGroup} + i))
            ids.push_back(static_cast<int16_t>(tile.firstDrawGroup + i));
    return ids;
}

} // namespace

TileFootprint BakePlan::Footprint() const
{
    std::vector<TileSpot> spots;
    for (const PlannedTile& tile : tiles)
        spots.push_back(tile.spot);
    return TileFootprint(std::move(spots));
}

bool PlanPalette(CTGResFile& container, const std::set<int16_t>& replaced, const std::set<int16_t>& leaving,
                 const std::set<int16_t>& reserved, const std::string& fallbackName, int16_t& id, std::string& name)
{
    std::map<int16_t, std::string> sprites = IdsOf(container, kTypeSPR2);
    sprites.merge(IdsOf(container, kTypeSPR));
    const std::map<int16_t, std::string> palettes = IdsOf(container, kTypePALT);
    std::vector<int32_t> candidates;
    for (const int16_t sprite : replaced)
        PalettesOf(container, sprite, candidates);
    std::vector<int32_t> staying;
    bool unknown = false;
    for (const auto& [sprite, spriteName] : sprites)
        if (!replaced.count(sprite) && !leaving.count(sprite))
            unknown = !PalettesOf(container, sprite, staying) || unknown;
    auto stays = [&](int32_t palette) { return std::find(staying.begin(), staying.end(), palette) != staying.end(); };
    bool found = false;
    for (const int32_t candidate : candidates)
        if (!unknown && FitsInt16(candidate) && candidate >= 0 && !stays(candidate) &&
            !reserved.count(static_cast<int16_t>(candidate))) {
            id = static_cast<int16_t>(candidate);
            found = true;
            break;
        }
    if (!found && !FreeId([&](int16_t free) { return palettes.count(free) || stays(free) || reserved.count(free); }, id))
        return false;
    const auto it = palettes.find(id);
    name = it != palettes.end() ? it->second : fallbackName;
    return true;
}

BakePlan PlanBake(CTGResFile& container, const CObjectEntry& object)
{
    BakePlan plan;
    const std::vector<TileSource> sources = TilesOf(object, plan);
    if (sources.empty()) {
        plan.error = "the object has no tile on the floor to render into";
        return plan;
    }
    for (size_t i = 0; i < sources.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (sources[i].place.x == sources[j].place.x && sources[i].place.y == sources[j].place.y) {
                plan.error = "two tiles of the object stand at (" + std::to_string(sources[i].place.x) + ", " +
                             std::to_string(sources[i].place.y) + ")";
                return plan;
            }
    const Inventory inventory = Take(container);

    // ---- sprites and draw groups ----
    std::set<int16_t> objectGroups; // every existing draw group of the object's tiles
    for (const TileSource& source : sources)
        for (const int16_t id : RangeOf(source.place))
            if (inventory.drawGroups.count(id))
                objectGroups.insert(id);
    auto onlyObjectShows = [&](int32_t sprite) {
        for (const auto& [group, shown] : inventory.shown)
            if (shown.count(sprite) && !objectGroups.count(group))
                return false;
        return true;
    };
    auto leftOutAnywhere = [&](int32_t sprite) {
        return std::any_of(sources.begin(), sources.end(),
                           [&](const TileSource& s) { return LeftOut(s.place, sprite); });
    };
    std::set<int16_t> chosenSprites, claimedGroups;
    std::set<int16_t> newGroups; // ids given to tiles without a draw group of their own
    for (const TileSource& source : sources) {
        PlannedTile tile;
        tile.spot = {source.place.x, source.place.y};
        tile.definitionId = source.entry->DefinitionId();
        const std::vector<int16_t> range = RangeOf(source.place);
        // The base draw group: the first of the tile's, unless another tile has it.
        if (!range.empty() && !claimedGroups.count(range.front())) {
            tile.drawGroups.push_back(range.front());
        } else {
            int16_t fresh = 0;
            if (!FreeId([&](int16_t id) { return inventory.drawGroups.count(id) || newGroups.count(id); }, fresh)) {
                plan.error = "no draw group id is free";
                return plan;
            }
            newGroups.insert(fresh);
            tile.drawGroups.push_back(fresh);
            ObjectDefinition definition = source.entry->Definition();
            if (!definition.IsComplete()) {
                plan.error = "the definition of tile (" + std::to_string(tile.spot.x) + ", " +
                             std::to_string(tile.spot.y) + ") is stored cut short and cannot be written back";
                return plan;
            }
            definition.SetWord(kFirstDrawGroupWord, fresh);
            definition.SetWord(kDrawGroupCountWord, 1);
            plan.changedDefinitions[tile.definitionId] = definition;
            plan.notes.push_back(std::string(range.empty() ? "tile without draw groups" : "tile sharing its draw group") +
                                 " (" + std::to_string(tile.spot.x) + ", " + std::to_string(tile.spot.y) +
                                 ") now shows draw group " + std::to_string(fresh));
        }
        claimedGroups.insert(tile.drawGroups.front());
        // Its sprite: one the base draw group shows, when nothing else needs it.
        bool found = false;
        if (const auto shown = inventory.shown.find(tile.drawGroups.front()); shown != inventory.shown.end())
            for (const int32_t candidate : shown->second)
                if (FitsInt16(candidate) && !chosenSprites.count(static_cast<int16_t>(candidate)) &&
                    !LeftOut(source.place, candidate) && onlyObjectShows(candidate)) {
                    tile.spriteId = static_cast<int16_t>(candidate);
                    found = true;
                    break;
                }
        if (!found && !FreeId([&](int16_t id) {
                return inventory.sprites.count(id) || chosenSprites.count(id) || leftOutAnywhere(id);
            }, tile.spriteId)) {
            plan.error = "no sprite id is free";
            return plan;
        }
        chosenSprites.insert(tile.spriteId);
        if (const auto old = inventory.sprites.find(tile.spriteId); old != inventory.sprites.end())
            tile.spriteName = old->second;
        plan.tiles.push_back(std::move(tile));
    }
    plan.replacedSprites = chosenSprites;
    // Every other draw group of a tile that shows a replaced sprite is rewritten with it.
    for (size_t i = 0; i < sources.size(); ++i)
        for (const int16_t id : RangeOf(sources[i].place)) {
            const auto shown = inventory.shown.find(id);
            if (shown == inventory.shown.end() || claimedGroups.count(id))
                continue;
            if (std::any_of(shown->second.begin(), shown->second.end(),
                            [&](int32_t s) { return FitsInt16(s) && chosenSprites.count(static_cast<int16_t>(s)); })) {
                plan.tiles[i].drawGroups.push_back(id);
                claimedGroups.insert(id);
            }
        }
    for (PlannedTile& tile : plan.tiles) {
        for (const int16_t id : tile.drawGroups)
            if (const auto it = inventory.drawGroups.find(id); it != inventory.drawGroups.end())
                tile.drawGroupNames[id] = it->second;
        if (tile.spriteName.empty())
            tile.spriteName = !tile.drawGroupNames.empty() ? tile.drawGroupNames.begin()->second
                                                           : object.ResourceName();
    }

    // ---- the palette ----
    if (!PlanPalette(container, chosenSprites, {}, {}, object.ResourceName(), plan.paletteId, plan.paletteName)) {
        plan.error = "no palette id is free";
        return plan;
    }
    return plan;
}

} // namespace zelvane
