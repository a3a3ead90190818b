#pragma once
// 256-colour palettes: the colours of sprite colour planes ('PALT' resources),
// the default palette for sprites whose palette is missing, and the grey
// palette of depth and alpha planes and preview masks.

#include "resfile/CTGResFile.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace zelvane {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    // From 0xRRGGBB (0xFFFFFF is white).
    static constexpr Rgb FromHex(uint32_t rgb)
    {
        return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
    }
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Byte layout of a 'PALT' resource (little-endian).
namespace palt_layout {
inline constexpr size_t kVersionPos = 0;
inline constexpr size_t kCountPos = 4;
inline constexpr size_t kEntriesPos = 16; // after 8 reserved bytes
inline constexpr size_t kEntrySize = 3;   // red, green, blue
inline constexpr uint32_t kMaxVersion = 1;
inline constexpr uint32_t kWrittenVersion = 1;
} // namespace palt_layout

class Palette {
public:
    static constexpr size_t kSize = 256;

    // All entries black.
    Palette() = default;

    Rgb& operator[](size_t i) { return entries_[i]; }
    const Rgb& operator[](size_t i) const { return entries_[i]; }
    const std::array<Rgb, kSize>& Entries() const { return entries_; }

    // The entry closest to `colour` (squared distance in RGB); the lowest
    // index wins a tie.
    uint8_t NearestIndex(Rgb colour) const;

    // The palette sprites use when theirs is missing: a 6×6×6 colour cube
    // (entries 0-215, red slowest) followed by 40 greys from black to white.
    // Built on first use and shared.
    static const std::shared_ptr<const Palette>& Default();
    // Entry i = (i, i, i); built on first use and shared.
    static const std::shared_ptr<const Palette>& Grey();

    // Decodes a 'PALT' resource. Fails (nullopt) when the version is above 1,
    // the header is cut short, the count is above 256 or the data holds fewer
    // entries than the count; entries past the count stay black.
    static std::optional<Palette> Decode(std::span<const uint8_t> data);
    // The 'PALT' bytes of this palette (version 1, 256 entries).
    std::vector<uint8_t> Encode() const;

    // 'PALT' `id` from the container; nullptr when it is absent or unreadable
    // (the caller then uses Default()).
    static std::shared_ptr<const Palette> Load(CTGResFile& file, int16_t id);

    friend bool operator==(const Palette&, const Palette&) = default;

private:
    std::array<Rgb, kSize> entries_{};
};

} // namespace zelvane
