#include "pngio/PngCodec.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zelvane {

namespace {

uint32_t FormatOf(PngChannels channels)
{
    switch (channels) {
    case PngChannels::Grey: return PNG_FORMAT_GRAY;
    case PngChannels::GreyAlpha: return PNG_FORMAT_GA;
    case PngChannels::Rgb: return PNG_FORMAT_RGB;
    case PngChannels::Rgba: break;
    }
    return PNG_FORMAT_RGBA;
}

PngChannels ChannelsOf(uint32_t format)
{
    const bool colour = (format & PNG_FORMAT_FLAG_COLOR) != 0;
    const bool alpha = (format & PNG_FORMAT_FLAG_ALPHA) != 0;
    return colour ? (alpha ? PngChannels::Rgba : PngChannels::Rgb) : (alpha ? PngChannels::GreyAlpha : PngChannels::Grey);
}

// libpng's simplified interface: a control block freed on every way out.
struct SimplePng {
    SimplePng()
    {
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
    }
    ~SimplePng() { png_image_free(&image); }
    SimplePng(const SimplePng&) = delete;
    SimplePng& operator=(const SimplePng&) = delete;

    std::string Message() const { return image.message[0] ? image.message : "libpng failed"; }

    png_image image;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

bool EncodePng(const PngImage& image, std::vector<uint8_t>& png, std::string& error)
{
    png.clear();
    if (image.width == 0 || image.height == 0 || image.width > PNG_USER_WIDTH_MAX ||
        image.height > PNG_USER_HEIGHT_MAX || image.pixels.size() / image.height != image.RowBytes() ||
        image.pixels.size() % image.height != 0) {
        error = "no image to write, or its pixels do not match its size";
        return false;
    }
    SimplePng writer;
    writer.image.width = image.width;
    writer.image.height = image.height;
    writer.image.format = FormatOf(image.channels);
    const auto stride = static_cast<png_int_32>(image.RowBytes());
    // Room for the worst case, cut to what the compressed image takes.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(writer.image);
    png.resize(size);
    if (!png_image_write_to_memory(&writer.image, png.data(), &size, 0, image.pixels.data(), stride, nullptr)) {
        png.clear();
        error = writer.Message();
        return false;
    }
    png.resize(size);
    return true;
}

bool WritePngFile(const std::string& path, const PngImage& image, std::string& error)
{
    std::vector<uint8_t> png;
    if (!EncodePng(image, png, error))
        return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
    const int writeErrno = errno;
    // A full disk may only show when the buffered bytes go out.
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        error = std::strerror(written ? errno : writeErrno);
        return false;
    }
    return true;
}

bool DecodePng(std::span<const uint8_t> png, PngImage& image, std::string& error, std::optional<PngChannels> convertTo,
               const PngSizeCheck& sizeCheck)
{
    image = {};
    SimplePng reader;
    if (!png_image_begin_read_from_memory(&reader.image, png.data(), png.size())) {
        error = reader.Message();
        return false;
    }
    if (sizeCheck)
        if (std::string refused = sizeCheck(reader.image.width, reader.image.height); !refused.empty()) {
            error = std::move(refused);
            return false;
        }
    if (uint64_t{reader.image.width} * reader.image.height > kMaxPngPixels) {
        error = "the image is " + std::to_string(reader.image.width) + " x " + std::to_string(reader.image.height) +
                " pixels, more than this reader takes";
        return false;
    }
    const PngChannels channels = convertTo.value_or(ChannelsOf(reader.image.format));
    reader.image.format = FormatOf(channels);
    PngImage decoded;
    decoded.width = reader.image.width;
    decoded.height = reader.image.height;
    decoded.channels = channels;
    decoded.pixels.resize(PNG_IMAGE_SIZE(reader.image));
    if (!png_image_finish_read(&reader.image, nullptr, decoded.pixels.data(),
                               static_cast<png_int_32>(decoded.RowBytes()), nullptr)) {
        error = reader.Message();
        return false;
    }
    image = std::move(decoded);
    return true;
}

bool ReadPngFile(const std::string& path, PngImage& image, std::string& error, std::optional<PngChannels> convertTo)
{
    image = {};
    std::vector<uint8_t> bytes;
    if (!ReadPngFileBytes(path, bytes, error))
        return false;
    return DecodePng(bytes, image, error, convertTo);
}

bool ReadPngSize(std::span<const uint8_t> png, uint32_t& width, uint32_t& height, std::string& error)
{
    SimplePng reader;
    if (!png_image_begin_read_from_memory(&reader.image, png.data(), png.size())) {
        error = reader.Message();
        return false;
    }
    width = reader.image.width;
    height = reader.image.height;
    return true;
}

bool ReadPngFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    uint8_t buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
        if (bytes.size() + got > kMaxPngFileBytes) {
            bytes.clear();
            error = "the file is larger than " + std::to_string(kMaxPngFileBytes >> 20) + " MiB, more than this reader takes";
            return false;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (std::ferror(file.get())) {
        bytes.clear();
        error = "cannot be read";
        return false;
    }
    return true;
}

} // namespace zelvane
