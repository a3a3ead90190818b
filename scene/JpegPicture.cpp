#include "scene/JpegPicture.h"

#include <turbojpeg.h>

#include <climits>
#include <memory>
#include <new>
#include <string>

namespace zelvane {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::string ReasonOf(void* handle)
{
    const char* text = tjGetErrorStr2(handle);
    return text && *text ? text : "libjpeg-turbo failed";
}

} // namespace

DecodedImage DecodeJpegPicture(std::span<const std::uint8_t> file)
{
    if (file.empty() || file.size() > ULONG_MAX)
        return DecodedImage::Failure("not a JPEG picture: the file is empty");
    const Handle handle(tjInitDecompress());
    if (!handle)
        return DecodedImage::Failure("libjpeg-turbo does not start: " + ReasonOf(nullptr));
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    if (tjDecompressHeader3(handle.get(), file.data(), static_cast<unsigned long>(file.size()), &width, &height,
                            &subsampling, &colourSpace) != 0)
        return DecodedImage::Failure("not a JPEG picture zelvane reads: " + ReasonOf(handle.get()));
    if (std::string refused = CheckImageSize(width, height); !refused.empty())
        return DecodedImage::Failure(std::move(refused));
    try {
        PlainImage image(width, height, 3);
        image.SetOrder(ChannelOrder::Rgb);
        // Bottom-up rows at the image's stride: the picture lands in place.
        const int flags = TJFLAG_BOTTOMUP | TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;
        if (tjDecompress2(handle.get(), file.data(), static_cast<unsigned long>(file.size()), image.Bits().data(),
                          width, static_cast<int>(image.Stride()), height, TJPF_RGB, flags) != 0)
            return DecodedImage::Failure("the JPEG picture is damaged: " + ReasonOf(handle.get()));
        return {std::move(image), {}};
    } catch (const std::bad_alloc&) {
        return DecodedImage::Failure("no memory for the JPEG picture");
    }
}

std::vector<std::uint8_t> EncodeJpeg(const PlainImage& image, int quality)
{
    if (image.IsNull() || image.BytesPerPixel() < 3)
        return {};
    const Handle handle(tjInitCompress());
    if (!handle)
        return {};
    const bool rgb = image.Order() == ChannelOrder::Rgb;
    const int format = image.BytesPerPixel() == 4 ? (rgb ? TJPF_RGBX : TJPF_BGRX) : (rgb ? TJPF_RGB : TJPF_BGR);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle.get(), image.Bits().data(), image.Width(), static_cast<int>(image.Stride()), image.Height(),
                    format, &jpeg, &size, TJSAMP_444, quality, TJFLAG_BOTTOMUP) != 0) {
        tjFree(jpeg);
        return {};
    }
    std::vector<std::uint8_t> bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    return bytes;
}

} // namespace zelvane
