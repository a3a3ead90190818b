#pragma once
// Which resources of the working object file the rendered graphics go to.
//
// The object's tiles are the members of a multi-tile object, each at its
// place (x, y), or the single object at (0, 0). Each tile's graphics go to
// its first draw group (word 3 of its definition), rewritten, and to a
// sprite: the one that draw group already shows, so that ids the rest of the
// object knows keep working. A sprite id is taken over only when every draw
// group that shows it is one of the object's and is rewritten with it; a
// draw group of the object that shows a sprite being replaced is rewritten
// too (its frames and offsets would no longer fit), while draw groups that
// show other sprites keep them. Where no sprite can be taken over, a free id
// is used.
//
// The palette likewise: the one the replaced sprites use, unless a sprite
// that stays uses it too (or a sprite that stays cannot be read, so its
// palette is unknown); else a free id.
//
// A tile without draw groups gets a new one, and its definition's words 3
// and 4 point at it. Tiles one level up or more are left as they are, with
// a note: the scene has only the floor's level.

#include "bake/TileFootprint.h"
#include "objects/ObjectDefinition.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zelvane {

class CObjectEntry;
class CTGResFile;

struct PlannedTile {
    TileSpot spot;
    int16_t definitionId = 0;
    int16_t spriteId = 0;
    std::string spriteName;
    // Draw groups written with this tile's images: the first is the base one.
    std::vector<int16_t> drawGroups;
    std::map<int16_t, std::string> drawGroupNames; // of those that exist
};

struct BakePlan {
    std::vector<PlannedTile> tiles;
    int16_t paletteId = 0;
    std::string paletteName;
    // Every 'SPR2' and 'SPR#' with these ids goes; the tiles' new 'SPR2'
    // sprites take their place.
    std::set<int16_t> replacedSprites;
    // Definitions whose words 3 and 4 now point at a new draw group.
    std::map<int16_t, ObjectDefinition> changedDefinitions;
    std::vector<std::string> notes;
    std::string error; // empty when the plan can be carried out

    bool ok() const { return error.empty(); }
    TileFootprint Footprint() const;
};

// Plans the bake of `object` (a single object or the master of a
// multi-tile one) into `container`, the working object file it belongs to.
// Fails when the object has no tile on the floor, two tiles share a place,
// a definition that must change cannot be written back, or no id is free.
BakePlan PlanBake(CTGResFile& container, const CObjectEntry& object);

// The palette for new sprites that take the place of `replaced`, chosen as
// above: one the replaced sprites use now, unless a sprite that stays (in
// neither `replaced` nor `leaving`) uses it too or cannot be read; else a
// free id. Ids in `reserved` (given to other new palettes) are never chosen.
// `name` is the palette's own when it exists, else `fallbackName`. False
// when no id is free.
[[nodiscard]] bool PlanPalette(CTGResFile& container, const std::set<int16_t>& replaced,
                               const std::set<int16_t>& leaving, const std::set<int16_t>& reserved,
                               const std::string& fallbackName, int16_t& id, std::string& name);

} // namespace zelvane
