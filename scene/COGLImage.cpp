#include "scene/COGLImage.h"

#include "report/ErrorLog.h"
#include "report/Reporter.h"
#include "scene/JpegPicture.h"
#include "scene/PngPicture.h"
#include "scene/TargaImage.h"
#include "scene/TextureMaths.h"
#include "scene/WindowsBitmap.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <new>
#include <optional>
#include <vector>

namespace zelvane {

namespace {

constexpr std::string_view kCannotLoad = "Could not load Bitmap.";
constexpr std::string_view kCannotProcess = "An error occured while processing the bitmap.";

// Large enough for the largest picture the decoders accept at 32 bits.
constexpr std::uintmax_t kMaxImageFileBytes = static_cast<std::uintmax_t>(kMaxImagePixels) * 4 + (1u << 20);

std::string UpperExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

// The whole file, or nothing when it does not open or is larger than any
// picture we read; `why` then says which.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::string& why)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        why = "the file does not open";
        return std::nullopt;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxImageFileBytes) {
        why = "the file is larger than any picture zelvane reads";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        why = "the file cannot be read";
        return std::nullopt;
    }
    return bytes;
}

} // namespace

bool COGLImage::Load(const std::string& path, bool resizeToPowerOfTwo, std::uint8_t, ImageMessages messages)
{
    path_ = path;
    resizeToPowerOfTwo_ = resizeToPowerOfTwo;
    messages_ = messages;
    problem_.clear();
    const std::string extension = UpperExtension(path);
    if (extension == "BMP")
        return LoadWith(Decoder::Bitmap);
    if (extension == "TGA")
        return LoadWith(Decoder::Targa);
    if (extension == "PNG")
        return LoadWith(Decoder::Png);
    if (extension == "JPG" || extension == "JPEG")
        return LoadWith(Decoder::Jpeg);
    problem_ = "zelvane reads no pictures of the kind \"" + extension + "\"";
    return false;
}

bool COGLImage::Refuse(const std::string& why, bool show)
{
    problem_ = why;
    LogDebug(path_ + ": " + why + "\n");
    if (show && messages_ == ImageMessages::Show)
        CurrentReporter().ShowMessage(kCannotLoad, MessageIcon::Error, MessageButtons::Ok);
    return false;
}

bool COGLImage::LoadWith(Decoder decoder)
{
    std::string why;
    const std::optional<std::vector<std::uint8_t>> file = ReadWholeFile(path_, why);
    // A Targa file that does not open fails without a message, as it always did.
    if (!file)
        return Refuse(why, decoder != Decoder::Targa);
    DecodedImage decoded;
    switch (decoder) {
    case Decoder::Bitmap: decoded = DecodeWindowsBitmap(*file); break;
    case Decoder::Targa: decoded = DecodeTarga(*file, CurrentGammaTable()); break;
    case Decoder::Png: decoded = DecodePngPicture(*file); break;
    case Decoder::Jpeg: decoded = DecodeJpegPicture(*file); break;
    }
    if (!decoded.ok())
        return Refuse(decoded.error, true);
    // Bitmaps drop their alpha, as the platform's bitmap loader did.
    hasAlpha_ = decoder != Decoder::Bitmap && decoded.HasAlpha();
    return Finish(decoded.image, hasAlpha_);
}

bool COGLImage::Finish(const PlainImage& decoded, bool alpha)
{
    width_ = resizeToPowerOfTwo_ ? NearestPowerOfTwo(decoded.Width()) : decoded.Width();
    height_ = resizeToPowerOfTwo_ ? NearestPowerOfTwo(decoded.Height()) : decoded.Height();
    const ChannelOrder order = keepBgr_ ? ChannelOrder::Bgr : ChannelOrder::Rgb;
    try {
        const PlainImage resampled = decoded.Resampled(width_, height_);
        const int bytes = alpha ? 4 : 3;
        if (resampled.BytesPerPixel() == bytes && resampled.Order() == order) {
            pixels_ = resampled;
            return true;
        }
        PlainImage converted(width_, height_, bytes);
        converted.SetOrder(order);
        const auto sourceBytes = static_cast<std::size_t>(resampled.BytesPerPixel());
        for (int y = 0; y < height_; ++y) {
            const std::span<const std::uint8_t> source = resampled.Row(y);
            const std::span<std::uint8_t> target = converted.Row(y);
            for (int x = 0; x < width_; ++x) {
                const Rgb colour = resampled.PixelColour(x, y);
                const auto at = static_cast<std::size_t>(x) * static_cast<std::size_t>(bytes);
                const bool rgb = order == ChannelOrder::Rgb;
                target[at] = rgb ? colour.red : colour.blue;
                target[at + 1] = colour.green;
                target[at + 2] = rgb ? colour.blue : colour.red;
                if (alpha)
                    target[at + 3] = sourceBytes == 4 ? source[static_cast<std::size_t>(x) * 4 + 3] : 255;
            }
        }
        pixels_ = std::move(converted);
        return true;
    } catch (const std::bad_alloc&) {
        problem_ = "no memory for a " + std::to_string(width_) + " x " + std::to_string(height_) + " picture";
        LogDebug(path_ + ": " + problem_ + "\n");
        if (messages_ == ImageMessages::Show)
            CurrentReporter().ShowMessage(kCannotProcess, MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
}

void COGLImage::FreePixels()
{
    pixels_ = PlainImage();
}

} // namespace zelvane
