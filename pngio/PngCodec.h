#pragma once
// PNG files through libpng: compressed, filtered and checked as any PNG
// reader expects. The command-line tool and the tools write what they show
// with it; tests read PNGs back with it, so no test depends on how the
// encoder lays out its bytes; the scene reads the PNG textures of models
// with it (scene/PngPicture.h adds its own size limits and image type).
//
// Every function returns false with the reason in `error` instead of
// throwing.

#include "pngio/PngImage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zelvane {

// Decoding refuses images of more pixels than this (a PNG header can claim
// 2^31 × 2^31), before anything is allocated for them.
inline constexpr uint64_t kMaxPngPixels = uint64_t{64} << 20;

// False for an image without pixels or whose pixel bytes do not match its size.
[[nodiscard]] bool EncodePng(const PngImage& image, std::vector<uint8_t>& png, std::string& error);
// EncodePng, then the bytes into `path` (created or truncated).
[[nodiscard]] bool WritePngFile(const std::string& path, const PngImage& image, std::string& error);

// A caller's own limit on a PNG's size, asked with the header's width and
// height before anything is allocated for the pixels: why they are refused,
// or an empty text to go on.
using PngSizeCheck = std::function<std::string(uint32_t width, uint32_t height)>;

// Any PNG libpng reads, at 8 bits a channel: with the channels it stores
// (palette images as RGB or RGBA), or converted to `convertTo` (colour to
// grey weighted as libpng does, alpha composed on black when dropped).
// Pictures of more than kMaxPngPixels, or that `sizeCheck` refuses, fail.
[[nodiscard]] bool DecodePng(std::span<const uint8_t> png, PngImage& image, std::string& error,
                             std::optional<PngChannels> convertTo = std::nullopt,
                             const PngSizeCheck& sizeCheck = {});
[[nodiscard]] bool ReadPngFile(const std::string& path, PngImage& image, std::string& error,
                               std::optional<PngChannels> convertTo = std::nullopt);

// The width and height a PNG's header states, read without decoding (or
// allocating for) its pixels, so that a caller expecting a size can refuse
// another one first. False when libpng cannot read the header.
[[nodiscard]] bool ReadPngSize(std::span<const uint8_t> png, uint32_t& width, uint32_t& height, std::string& error);

// A PNG file's bytes, refusing files above kMaxPngFileBytes before reading.
inline constexpr uint64_t kMaxPngFileBytes = uint64_t{256} << 20;
[[nodiscard]] bool ReadPngFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

} // namespace zelvane
