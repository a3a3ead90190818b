#pragma once
// 'SPR2' resources in version 1001, as later tools write them, for tests and
// fuzz seeds: zelvane reads this version and writes only version 1000.

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

// Version 1001 of these frames (each a version-1000 frame: header and
// commands), every one behind its frame version 1001 and its size.
std::vector<uint8_t> FramedSpr2(uint32_t defaultPalette, std::span<const std::vector<uint8_t>> frames);

// The same sprite as a version-1000 resource (as EncodeSpr2 writes it: each
// frame runs from its offset to the next one's, the last to the end), in
// version 1001; empty when the resource is not such a sprite.
std::vector<uint8_t> Spr2AsVersion1001(std::span<const uint8_t> version1000);

} // namespace zelvane
