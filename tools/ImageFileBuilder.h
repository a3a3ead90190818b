#pragma once
// Bitmap and Targa files built byte by byte, variants and damage included, for
// the decoder tests and the fuzz seeds: every byte is explained where it is made.

#include <cstdint>
#include <vector>

namespace zelvane {

struct BitmapSpec {
    std::uint32_t headerSize = 40; // 12 core, 40 info, 52/56 with masks, 108 V4, 124 V5
    std::int32_t width = 1;
    std::int32_t height = 1; // negative: rows stored top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> palette; // 0xRRGGBB, written as the header wants it
    std::vector<std::uint32_t> masks;   // red, green, blue (alpha): after a 40-byte header or inside longer ones
    std::vector<std::uint8_t> pixels;   // as stored, rows padded by the caller
    // Where the pixels begin; 0 puts them right after the palette. The bytes
    // up to there are written as zeros, so keep it small.
    std::uint32_t pixelOffset = 0;
};

std::vector<std::uint8_t> BitmapFile(const BitmapSpec& spec);

struct TargaSpec {
    std::uint8_t imageType = 2;
    std::uint8_t colourMapType = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntrySize = 0;
    std::uint16_t xOrigin = 0;
    std::uint16_t yOrigin = 0;
    std::uint16_t width = 1;
    std::uint16_t height = 1;
    std::uint8_t pixelDepth = 24;
    std::uint8_t descriptor = 0;
    std::vector<std::uint8_t> id;        // the identification field
    std::vector<std::uint8_t> colourMap; // as stored
    std::vector<std::uint8_t> data;      // pixels or packets as stored
};

std::vector<std::uint8_t> TargaFile(const TargaSpec& spec);

} // namespace zelvane
