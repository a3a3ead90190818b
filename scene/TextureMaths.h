#pragma once
// The arithmetic of textures: their power-of-two sizes and the gamma table
// that Targa colours pass through.

#include <array>
#include <cstdint>

namespace zelvane {

using GammaTable = std::array<std::uint8_t, 256>;

// The texture sizes OpenGL 1.1 and its mipmaps accept: 2, 4, ..., 1024.
inline constexpr int kSmallestTextureSide = 2;
inline constexpr int kLargestTextureSide = 1024;

// The power of two from 2 to 1024 nearest to `n`; ties go to the smaller one
// (192 gives 128), larger values give 1024 and smaller ones 2.
int NearestPowerOfTwo(int n);

// The table for gamma `g` (the "Gamma" setting × 0.01): the identity for
// exactly 1.0, else entry i = 255 × ((i + 0.5) / 255.5)^g + 0.5, truncated and
// kept within 0..255.
GammaTable MakeGammaTable(double g);

// Builds the process-wide table, once at start-up after the settings are read.
void BuildGammaTable(double g);
// The process-wide table: the identity until BuildGammaTable runs.
const GammaTable& CurrentGammaTable();

} // namespace zelvane
