#include "objects/PreviewTile.h"

#include "bytes/ByteReader.h"

namespace zelvane {

namespace {

// Word numbers of the 'OBJD' record (word n = the i16 at byte 2n).
constexpr size_t kFirstDrawGroupWord = 3;
constexpr size_t kDrawGroupCountWord = 4;
constexpr size_t kGroupIdWord = 10;
constexpr size_t kGroupPlaceWord = 11;
constexpr size_t kLevelWord = 56;
constexpr size_t kFirstLeftOutWord = 64;
constexpr size_t kLeftOutCountWord = 65;
constexpr int16_t kMasterPlace = -1;

int16_t Word(std::span<const uint8_t> record, size_t n)
{
    ByteReader r(record);
    r.seek(2 * n);
    return r.i16le(); // 0 when the record is shorter
}

} // namespace

PreviewTile PreviewTile::FromDefinition(std::span<const uint8_t> record, TilePlace place)
{
    PreviewTile tile;
    tile.firstDrawGroup = Word(record, kFirstDrawGroupWord);
    tile.drawGroupCount = Word(record, kDrawGroupCountWord);
    tile.firstLeftOutSprite = Word(record, kFirstLeftOutWord);
    tile.leftOutSpriteCount = Word(record, kLeftOutCountWord);
    if (place == TilePlace::InGroup) {
        const auto where = static_cast<uint16_t>(Word(record, kGroupPlaceWord));
        tile.x = where >> 8;
        tile.y = where & 0xFF;
        tile.level = Word(record, kLevelWord);
    }
    return tile;
}

std::vector<PreviewTile> PreviewTilesOf(std::span<const uint8_t> record,
                                        std::span<const std::span<const uint8_t>> memberRecords)
{
    std::vector<PreviewTile> tiles;
    if (Word(record, kGroupIdWord) != 0 && Word(record, kGroupPlaceWord) == kMasterPlace) {
        for (const std::span<const uint8_t> member : memberRecords)
            tiles.push_back(PreviewTile::FromDefinition(member, TilePlace::InGroup));
    } else {
        tiles.push_back(PreviewTile::FromDefinition(record, TilePlace::Alone));
    }
    return tiles;
}

} // namespace zelvane
