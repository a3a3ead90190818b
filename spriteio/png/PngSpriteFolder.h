#pragma once
// A folder of exported sprites as PNG files: the pictures of an export
// written as RGBA (colour with alpha) and 8-bit grey (depth) PNGs beside
// their manifest, and read back for an import. Reading checks a picture's
// size from its header before its pixels are decoded (or allocated for).

#include "pngio/PngImage.h"
#include "spriteio/SpriteExport.h"
#include "spriteio/SpriteImport.h"

#include <cstdint>
#include <span>
#include <string>

namespace zelvane {

class PngSpriteFolder final : public SpriteImageReader {
public:
    explicit PngSpriteFolder(std::string folder);

    [[nodiscard]] bool ReadManifest(std::string& text, std::string& error) override;
    bool Has(const std::string& name) override;
    [[nodiscard]] bool ReadImage(const std::string& name, SpriteImageKind kind, int width, int height,
                                 PlainImage& image, std::string& error) override;
    std::string PathOf(const std::string& name) const override;

private:
    std::string folder_;
};

// Writes every picture of `exported` and its manifest into `folder`
// (made when missing; files of the same names are replaced). False, with
// the file at fault in `subject` and why in `error`, when one cannot be
// written.
[[nodiscard]] bool WriteSpriteFolder(const std::string& folder, const SpriteExport& exported, std::string& subject,
                                     std::string& error);

// Our images as PNG images: 4 bytes a pixel in red, green, blue, alpha
// order as RGBA, 1 byte as grey (the stored bytes, whatever the palette).
PngImage ToPngImage(const PlainImage& image);
// A decoded RGBA PNG as 4 bytes a pixel in that order, a grey one as 1
// byte; the null image for other channels or sides above PlainImage's.
PlainImage FromPngImage(const PngImage& png);

// A PNG file's bytes as a picture of `kind` that must be `width` × `height`
// pixels: the size is read from the header and compared before anything is
// decoded. False, with `error` saying what is wrong, otherwise.
[[nodiscard]] bool DecodeSpritePicture(std::span<const uint8_t> png, SpriteImageKind kind, int width, int height,
                                       PlainImage& image, std::string& error);

// ImportSprites from the PNG files and manifest of `folder`.
SpriteImportResult ImportSpriteFolder(const std::string& objectFilePath, const std::string& folder,
                                      const SpriteImportOptions& options = {});

} // namespace zelvane
