#pragma once
// One tile of an object as the preview composes it: the few object
// definition words it needs, so that composing does not depend on the
// object-file model.

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

enum class TilePlace {
    Alone,   // a single-tile object: at x = y = level = 0
    InGroup, // a member of a multi-tile object: at its record's place
};

struct PreviewTile {
    int16_t firstDrawGroup = 0;      // word 3: id of the object's first draw group
    int16_t drawGroupCount = 0;      // word 4
    int32_t graphicIndex = 0;        // the current draw-group choice: group firstDrawGroup + graphicIndex
    int x = 0;                       // word 11, high byte
    int y = 0;                       // word 11, low byte
    int level = 0;                   // word 56
    int16_t firstLeftOutSprite = 0;  // word 64: sprite ids from here...
    int16_t leftOutSpriteCount = 0;  // word 65: ...this many are not drawn
    uint8_t opacity = 255;           // scales every sprite's alpha

    // The tile an 'OBJD' record describes (the 216 stored bytes; words past
    // the end of a shorter record read as 0).
    static PreviewTile FromDefinition(std::span<const uint8_t> record, TilePlace place);
};

// The tiles of an object: its members, each at its own place, when its
// record marks it as the master of a multi-tile object (word 10 not 0, word
// 11 = -1); else the object alone at the origin.
std::vector<PreviewTile> PreviewTilesOf(std::span<const uint8_t> record,
                                        std::span<const std::span<const uint8_t>> memberRecords);

} // namespace zelvane
