#pragma once
// The object definition record ('OBJD'): 216 bytes of little-endian fields,
// always handled at that size. A stored record is normalised when it is read:
// versions 136 and 137 are upgraded to 138 with their missing words zeroed,
// and every other version is padded with zeros for reading.
//
// Two kinds of stored record do not fit the 216 bytes exactly, and neither may
// lose data when it is written back:
//  - a longer record keeps the bytes beyond 216 as its tail, written back
//    after the record unchanged;
//  - a shorter record of any version but 136 and 137 is incomplete: its
//    values can be read (the missing bytes read as zero), but writing it
//    would store fields its version does not have, so editors refuse to.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

// Byte offsets of the fields this program reads or writes.
namespace objd {
inline constexpr size_t kRecordSize = 216;
inline constexpr size_t kWordCount = kRecordSize / 2;

inline constexpr size_t kVersion = 0;                // u32
inline constexpr size_t kFirstDrawGroup = 6;
inline constexpr size_t kDrawGroupCount = 8;
inline constexpr size_t kGroupId = 20;
inline constexpr size_t kGroupPlace = 22;            // -1 master; tile x high byte, tile y low byte
inline constexpr size_t kGuid = 28;                  // i32
inline constexpr size_t kDisabled = 32;
inline constexpr size_t kPrice = 36;
inline constexpr size_t kInitialDepreciation = 70;
inline constexpr size_t kDailyDepreciation = 72;
inline constexpr size_t kSelfDepreciating = 74;
inline constexpr size_t kDepreciationLimit = 76;
inline constexpr size_t kRoomFlags = 78;
inline constexpr size_t kFunctionFlags = 80;
inline constexpr size_t kCatalogStringsId = 82;      // 'CTSS' and 'CATS' id
inline constexpr size_t kWallStyle = 92;
inline constexpr size_t kTileLevel = 112;
inline constexpr size_t kShadow = 114;
inline constexpr size_t kFrontFaceDirection = 122;
inline constexpr size_t kFirstHiddenSprite = 128;
inline constexpr size_t kHiddenSpriteCount = 130;
inline constexpr size_t kChairEntryFlags = 132;
inline constexpr size_t kTileWidth = 134;
inline constexpr size_t kBuildModeType = 138;
inline constexpr size_t kClonedFromGuid = 140;       // i32
inline constexpr size_t kShadowFlags = 152;
inline constexpr size_t kFootprintInsetMask = 154;
inline constexpr size_t kShadowBrightness = 158;
inline constexpr size_t kCustomWallStyleId = 162;
inline constexpr size_t kHungerRating = 164;
inline constexpr size_t kComfortRating = 166;
inline constexpr size_t kHygieneRating = 168;
inline constexpr size_t kBladderRating = 170;
inline constexpr size_t kEnergyRating = 172;
inline constexpr size_t kFunRating = 174;
inline constexpr size_t kRoomRating = 176;
inline constexpr size_t kRatingSkillFlags = 178;
inline constexpr size_t kMiscFlags = 182;

// Versions that are upgraded to kCurrentVersion when read.
inline constexpr uint32_t kOldVersion136 = 136;
inline constexpr uint32_t kOldVersion137 = 137;
inline constexpr uint32_t kCurrentVersion = 138;
} // namespace objd

class ObjectDefinition {
public:
    // A record of zeros (version 0); complete, with no tail.
    ObjectDefinition();

    // The convert callback to fetch a record with: its fields are
    // little-endian as stored, so nothing is swapped.
    static void KeepAsStored(uint8_t* data, uint32_t length);

    // The normalised copy of a stored record of any length, 0 included.
    static ObjectDefinition FromBytes(std::span<const uint8_t> stored);

    uint32_t Version() const { return static_cast<uint32_t>(Int32At(objd::kVersion)); }

    // Word n (0..107), the 16 bits at byte 2n. Words outside the record read
    // as 0 and are not written.
    int16_t Word(size_t n) const;
    void SetWord(size_t n, int16_t value);
    // The 32 bits at a byte offset (at most 212); other offsets read as 0.
    int32_t Int32At(size_t offset) const;
    void SetInt32At(size_t offset, int32_t value);

    int32_t Guid() const { return Int32At(objd::kGuid); }
    void SetGuid(int32_t guid) { SetInt32At(objd::kGuid, guid); }
    int32_t ClonedFromGuid() const { return Int32At(objd::kClonedFromGuid); }
    void SetClonedFromGuid(int32_t guid) { SetInt32At(objd::kClonedFromGuid, guid); }
    int16_t CatalogStringsId() const { return Word(objd::kCatalogStringsId / 2); }
    int16_t Price() const { return Word(objd::kPrice / 2); }

    // The 216 bytes of the record.
    std::span<const uint8_t, objd::kRecordSize> Bytes() const { return record_; }
    // Bytes the stored record held beyond the 216 (usually none).
    const std::vector<uint8_t>& Tail() const { return tail_; }
    // Length of the stored record this one was read from.
    size_t StoredSize() const { return storedSize_; }
    // False for a record stored shorter than 216 bytes that was not upgraded:
    // such a record must not be written back (see the file comment).
    bool IsComplete() const { return complete_; }
    // What writing the record stores: the 216 bytes, then the tail.
    std::vector<uint8_t> StoredBytes() const;

private:
    std::array<uint8_t, objd::kRecordSize> record_{};
    std::vector<uint8_t> tail_;
    size_t storedSize_ = objd::kRecordSize;
    bool complete_ = true;
};

} // namespace zelvane
