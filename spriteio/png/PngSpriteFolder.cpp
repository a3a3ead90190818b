#include "spriteio/png/PngSpriteFolder.h"

#include "pngio/PngCodec.h"
#include "resfile/FileReplacement.h"
#include "spriteio/SpriteManifest.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace zelvane {

namespace {

std::string SizeText(uint32_t width, uint32_t height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

PngImage ToPngImage(const PlainImage& image)
{
    PngImage png;
    if (image.IsNull())
        return png;
    png.width = static_cast<uint32_t>(image.Width());
    png.height = static_cast<uint32_t>(image.Height());
    png.channels = image.BytesPerPixel() == 4 ? PngChannels::Rgba : PngChannels::Grey;
    const size_t rowBytes = png.RowBytes();
    png.pixels.resize(rowBytes * png.height);
    for (int y = 0; y < image.Height(); ++y) {
        const std::span<const uint8_t> row = image.Row(y);
        std::copy_n(row.begin(), rowBytes, png.pixels.begin() + static_cast<ptrdiff_t>(rowBytes * y));
    }
    return png;
}

PlainImage FromPngImage(const PngImage& png)
{
    const int bytes = png.channels == PngChannels::Rgba ? 4 : 1;
    if (png.width == 0 || png.height == 0 || png.width > uint32_t(PlainImage::kMaxSide) ||
        png.height > uint32_t(PlainImage::kMaxSide) || (png.channels != PngChannels::Rgba && png.channels != PngChannels::Grey) ||
        png.pixels.size() != png.RowBytes() * png.height)
        return {};
    PlainImage image(static_cast<int>(png.width), static_cast<int>(png.height), bytes);
    image.SetOrder(ChannelOrder::Rgb);
    const size_t rowBytes = size_t{png.width} * static_cast<size_t>(bytes);
    for (uint32_t y = 0; y < png.height; ++y)
        std::copy_n(png.pixels.begin() + static_cast<ptrdiff_t>(png.RowBytes() * y), rowBytes,
                    image.Row(static_cast<int>(y)).begin());
    return image;
}

PngSpriteFolder::PngSpriteFolder(std::string folder) : folder_(std::move(folder)) {}

std::string PngSpriteFolder::PathOf(const std::string& name) const
{
    return (std::filesystem::path(folder_) / name).string();
}

bool PngSpriteFolder::Has(const std::string& name)
{
    std::error_code ec;
    return IsPlainFileName(name) && std::filesystem::is_regular_file(PathOf(name), ec);
}

bool PngSpriteFolder::ReadManifest(std::string& text, std::string& error)
{
    const std::string path = PathOf(kSpriteManifestName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = std::filesystem::is_directory(folder_, ec) ? "no such file: the folder holds no exported sprites"
                                                           : "no such file: " + folder_ + " is not a folder";
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    text.clear();
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
        if (text.size() + got > kMaxManifestBytes) {
            error = "larger than " + std::to_string(kMaxManifestBytes >> 20) + " MiB";
            return false;
        }
        text.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        error = "cannot be read";
        return false;
    }
    return true;
}

bool PngSpriteFolder::ReadImage(const std::string& name, SpriteImageKind kind, int width, int height,
                                PlainImage& image, std::string& error)
{
    image = {};
    if (!IsPlainFileName(name)) {
        error = "is not a plain file name in the folder";
        return false;
    }
    const std::string path = PathOf(name);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "no such file";
        return false;
    }
    std::vector<uint8_t> bytes;
    return ReadPngFileBytes(path, bytes, error) && DecodeSpritePicture(bytes, kind, width, height, image, error);
}

bool DecodeSpritePicture(std::span<const uint8_t> bytes, SpriteImageKind kind, int width, int height,
                         PlainImage& image, std::string& error)
{
    image = {};
    uint32_t w = 0, h = 0;
    if (!ReadPngSize(bytes, w, h, error)) {
        error = "not a PNG file libpng reads (" + error + ")";
        return false;
    }
    if (w != static_cast<uint32_t>(width) || h != static_cast<uint32_t>(height)) {
        error = "is " + SizeText(w, h) + ", its frame " + SizeText(uint32_t(width), uint32_t(height)) +
                ": a frame keeps its size";
        return false;
    }
    PngImage png;
    if (!DecodePng(bytes, png, error, kind == SpriteImageKind::Colour ? PngChannels::Rgba : PngChannels::Grey)) {
        error = "cannot be decoded (" + error + ")";
        return false;
    }
    image = FromPngImage(png);
    return !image.IsNull();
}

bool WriteSpriteFolder(const std::string& folder, const SpriteExport& exported, std::string& subject,
                       std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        subject = folder;
        error = "cannot be made a folder" + (ec ? " (" + ec.message() + ")" : std::string());
        return false;
    }
    const PngSpriteFolder where(folder);
    for (const ExportedImage& picture : exported.images)
        if (!WritePngFile(where.PathOf(picture.name), ToPngImage(picture.image), error)) {
            subject = where.PathOf(picture.name);
            return false;
        }
    const std::string manifest = WriteSpriteManifest(exported.manifest);
    const std::string path = where.PathOf(kSpriteManifestName);
    const std::vector<uint8_t> bytes(manifest.begin(), manifest.end());
    if (WriteFileSafely(path, bytes, error) != SafeWrite::Written) {
        subject = path;
        return false;
    }
    return true;
}

SpriteImportResult ImportSpriteFolder(const std::string& objectFilePath, const std::string& folder,
                                      const SpriteImportOptions& options)
{
    PngSpriteFolder images(folder);
    return ImportSprites(objectFilePath, images, options);
}

} // namespace zelvane
